// The generator panel of the main window: Generate, Preview, the combine
// dialog, a new seed and the panel's settings files.

#include "app/AppState.h"
#include "app/MainWindowLogic.h"
#include "generate/ParFileDialog.h"
#include "generate/dlgGenModify.h"
#include "app/dlgMaskColor.h"
#include "generate/dlgPreview.h"
#include "app/frmTer.h"
#include "app/vbConfig.h"
#include "generate/GeneratorSettings.h"
#include "generate/kvGenerator.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

// The grid sizes the generator makes: their Size is a tag of optTerSize.
QString sizeMessage(int size)
{
    return QStringLiteral("The terrain has %1 x %1 points; the generator makes terrains of 129, 257, 513, 1025 "
                          "or 2049 points. Please resize the terrain first.")
        .arg(size + 1);
}

// The perlin set chosen in the list, as a row of PerlinSetTable.
std::optional<size_t> chosenSet(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected()) return std::nullopt;
    const int row = item->data(Qt::UserRole).toInt();
    if (row < 0 || size_t(row) >= vbConfig::PerlinSetTable.size()) return std::nullopt;
    return size_t(row);
}

} // namespace

void frmTer::connectGeneratorControls()
{
    connect(cmdGenerator, &QPushButton::clicked, this, &frmTer::cmdGenerator_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmTer::cmdPreview_Click);
    connect(cmdGenModify, &QPushButton::clicked, this, &frmTer::cmdGenModify_Click);
    connect(cmdRandom, &QPushButton::clicked, this, &frmTer::cmdRandom_Click);
    // Every change of the box counts, also one made by code.
    connect(chkClearTerrain, &QCheckBox::toggled, this, &frmTer::chkClearTerrain_Click);
    connect(cmdGeneratorSaveSetting, &QPushButton::clicked, this, &frmTer::cmdGeneratorSaveSetting_Click);
    connect(cmdGenLoadSetting, &QPushButton::clicked, this, &frmTer::cmdGenLoadSetting_Click);
    connect(cmdMask, &QPushButton::clicked, this, [this] {
        // The pen cursor would stay frozen on the view behind the dialog.
        ResetMouseFrame();
        dlgMaskColor mask(this);
        mask.exec();
    });
}

kvGenerator::GeneratorParams frmTer::generatorParams() const
{
    kvGenerator::GeneratorParams p;
    p.iteration = int16_t(sldIteration->value());
    p.height = sldGenHeigth->value();
    p.structure = int16_t(sldStructure->value());
    p.seed = txtRandom->text();
    p.highResolution = chkHighResolution->isChecked();
    p.roughness = Slider3->value();
    p.combineMode = CombineMode;
    p.resizeMode = ResizeMode;
    return p;
}

std::optional<kvGenerator::LayerPictures> frmTer::loadChosenLayers()
{
    const auto set = chosenSet(lstPerlinSets);
    if (!set) {
        rt::MsgBox(QStringLiteral("Please select a Perlinset first."), rt::vbOKOnly | rt::vbExclamation);
        return std::nullopt;
    }
    const vbConfig::PerlinSet& row = vbConfig::PerlinSetTable[*set];
    kvGenerator::LayerFiles files;
    for (size_t k = 0; k < files.size(); ++k) files[k] = row.layers[k];
    auto layers = kvGenerator::LoadPerlinLayersForRun(*CurrentTerrain, files, chkHighResolution->isChecked());
    if (layers)
        for (size_t k = 0; k < layers->size(); ++k) PicTer[k + 1] = (*layers)[k];
    return layers;
}

void frmTer::cmdGenerator_Click()
{
    // The set's pictures are read first, while busy: a set that cannot be
    // used leaves the terrain as it is, also with "clear Terrain".
    std::optional<kvGenerator::LayerPictures> layers;
    {
        rt::BusyGuard busy;
        layers = loadChosenLayers();
    }
    if (!layers) return;
    runTerrainCommand(QStringLiteral("Generate Terrain....."), [&] {
        // The view fitted at 100 %, the top view shown.
        ResizePic(CurrentTerrain->Size(), 0.0);
        OptXYView_Click();
        rt::DoEvents();
        // The size option follows the terrain's grid (ResizePic checked it);
        // a grid of no option's size cannot be generated.
        int size = -1;
        for (const QRadioButton* o : optTerSize) {
            if (o->property("tag").toString().toInt() == CurrentTerrain->Size()) {
                size = CurrentTerrain->Size();
                break;
            }
        }
        if (size <= 0) {
            rt::MsgBox(sizeMessage(CurrentTerrain->Size()), rt::vbOKOnly | rt::vbExclamation);
            return TerrainChange::None;
        }
        // With "clear Terrain" the generator starts from a flat grid.
        const bool clear = chkClearTerrain->isChecked();
        if (clear) CurrentTerrain->Init(size + 1);
        kvGenerator::GeneratorParams params = generatorParams();
        kvGenerator::GeneratePerlinTerrain(*CurrentTerrain, size, *layers, params);
        // A cleared or empty terrain sets the combine mode back to Add; then rescale.
        setInfoText(QStringLiteral("Add Terrain ...."));
        CurrentTerrain->pProgress = 0;
        rt::DoEvents();
        if (clear || TerrainEmpty) CombineMode = 1;
        CurrentTerrain->pProgress = 0;
        RunScaleTerrain(*CurrentTerrain);
        return TerrainChange::Grid;
    });
}

void frmTer::cmdPreview_Click()
{
    rt::BusyGuard busy;
    const auto layers = loadChosenLayers();
    if (!layers) return;
    // The preview terrain is generated at the layer's own side.
    clsTerrain scratch;
    clsTerrain& g = GeneratedTerrain ? *GeneratedTerrain : scratch;
    // The generator reports on the preview terrain: the progress bar follows it.
    m_progressTerrain = &g;
    const int32_t P = kvGenerator::layerSide(chkHighResolution->isChecked());
    g.Init(P);
    kvGenerator::GeneratorParams params = generatorParams();
    kvGenerator::GeneratePerlinTerrain(g, P, *layers, params);
    // On a terrain that stays, the preview shows the combined result.
    if (!chkClearTerrain->isChecked() && !TerrainEmpty)
        kvGenerator::CombinePreview(g, *CurrentTerrain, sldGenHeigth->value(), CombineMode);
    RunScaleTerrain(g);
    // Shown in the preview dialog; the scratch terrain is emptied afterwards.
    QImage picture;
    DrawTerrainToPicture(picture, g, 0, 0, -1, -1, 0);
    dlgPreview::runPreview(picture, this);
    g.Init(1);
    rt::DoEvents();
    m_progressTerrain = nullptr;
}

void frmTer::cmdGenModify_Click()
{
    CombineMode = dlgGenModify::runGenModify(CombineMode, this);
}

void frmTer::cmdRandom_Click()
{
    rt::Randomize();
    RandomSeed = int32_t(rt::Int(double(rt::Rnd()) * 999999.0));
    ActualScreen();
}

void frmTer::chkClearTerrain_Click()
{
    cmdGenModify->setEnabled(MainWindowLogic::genModifyEnabled(TerrainEmpty, chkClearTerrain->isChecked()));
}

void frmTer::cmdGeneratorSaveSetting_Click()
{
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(parFileRequest(QStringLiteral("Save Setting")));
    if (!chosen.accepted) return;
    GeneratorSettings::PanelValues v;
    v.perlin = chosenSet(lstPerlinSets) ? lstPerlinSets->currentRow() : -1;
    v.iteration = sldIteration->value();
    v.height = sldGenHeigth->value();
    v.structure = sldStructure->value();
    v.seed = txtRandom->text();
    v.modify = CombineMode;
    v.highRes = chkHighResolution->isChecked() ? 1 : 0;
    v.roughness = Slider3->value();
    QString error;
    if (!GeneratorSettings::WriteSettings(chosen.fileName, v, &error))
        rt::MsgBox(QStringLiteral("The generator settings could not be saved to %1: %2").arg(chosen.fileName, error),
                   rt::vbOKOnly | rt::vbExclamation);
}

void frmTer::cmdGenLoadSetting_Click()
{
    const rt::FileDialogResult chosen = rt::ui().openFileDialog(parFileRequest(QStringLiteral("Load Setting")));
    if (!chosen.accepted) return;
    const auto v = GeneratorSettings::ReadSettings(chosen.fileName, lstPerlinSets->count());
    if (const QString nothing = GeneratorSettings::nothingLoadedMessage(chosen.fileName, v); !nothing.isEmpty()) {
        rt::MsgBox(nothing, rt::vbOKOnly | rt::vbExclamation);
        return;
    }
    if (v.perlin) {
        lstPerlinSets->setCurrentRow(*v.perlin);
        if (*v.perlin < 0) lstPerlinSets->clearSelection();
    }
    if (v.iteration) sldIteration->setValue(*v.iteration);
    if (v.height) sldGenHeigth->setValue(*v.height);
    if (v.structure) sldStructure->setValue(*v.structure);
    if (v.seed) txtRandom->setText(*v.seed);
    if (v.modify) CombineMode = int16_t(*v.modify);
    if (v.highRes) chkHighResolution->setChecked(*v.highRes == 1);
    if (v.roughness) Slider3->setValue(*v.roughness);
    const QString refused = GeneratorSettings::refusedMessage(v);
    if (!refused.isEmpty()) rt::MsgBox(refused, rt::vbOKOnly | rt::vbExclamation);
    ActualScreen();
}
