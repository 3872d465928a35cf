#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/FileCommands.h"
#include "app/MainWindowLogic.h"
#include "app/Pens.h"
#include "app/Zoom.h"
#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "app/vbConfig.h"
#include "runtime/Files.h"
#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/QtUi.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"
#include "terrain/mTerLoad.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

// The zoom limit is taken from the terrain's size, but the view is three
// points larger: at most 12 pixels at the largest zoom of 4, and one more for
// rounding. Kept free, the fitted view never needs a scroll bar.
constexpr double kResizeMargin = 13;

// The program folder's "PS" subfolder under any spelling of its name.
QString perlinFolder()
{
    const QString app = rt::AppPath();
    const QDir dir(app);
    if (dir.exists(QStringLiteral("PS"))) return dir.filePath(QStringLiteral("PS"));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (name.compare(QLatin1String("PS"), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return dir.filePath(QStringLiteral("PS"));
}

// True when the perlin-set folder holds at least one file.
bool perlinFolderHasFiles(const QString& folder)
{
    return !rt::listFiles(folder, QStringLiteral("*")).isEmpty();
}

} // namespace

frmTer::frmTer(QWidget* parent) : QMainWindow(parent)
{
    buildWindow();
    setWindowTitle(MainWindowLogic::mainCaption(TerrainFileName));
    // A roomy first size that still fits small screens.
    QSize initial(1180, 820);
    if (const QScreen* scr = screen()) initial = initial.boundedTo(scr->availableGeometry().size() - QSize(40, 60));
    resize(initial);

    // Input during a command's event pump would start a second command on
    // the terrain the first one is still writing.
    new rt::BusyInputHold(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &frmTer::Timer1_Timer);

    connect(Picture1, &TerrainView::doubleClicked, this, &frmTer::Picture1_DblClick);
    connect(Picture1, &TerrainView::mouseMove, this, &frmTer::Picture1_MouseMove);
    connectPenControls();
    connectGeneratorControls();
    connectPanelControls();
    connectObjects();
    connectSelection();
    connectProfile();
    connect(OptXYView, &QRadioButton::clicked, this, &frmTer::OptXYView_Click);
    connect(Slider2, &QSlider::valueChanged, this, &frmTer::Slider2_Change);
    connect(Slider1, &QSlider::valueChanged, this, [this](int v) { Label39->setText(QString::number(v)); });
    connect(txtRandom, &QLineEdit::textChanged, this,
            [](const QString& t) { RandomSeed = rt::CLng(rt::Val(t)); });
}

frmTer::~frmTer()
{
    // The object layer watches Picture1; it must stop before this window's
    // members go, or Picture1's last events would reach a half-destroyed window.
    if (Objects && Picture1) Picture1->removeEventFilter(Objects);
}

bool frmTer::Form_Load()
{
    // Progress full, the view's limit, not busy, the window colour.
    CurrentTerrain->pProgress = 100;
    // Until the window is shown its view area has no size; the inner height
    // stands in and the view is fitted again once the window is laid out.
    MaxViewSize = float(Zoom::maxViewSizeForHeight(height(), 60));
    if (settingsBackColor) {
        QPalette pal = centralWidget()->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(*settingsBackColor));
        centralWidget()->setPalette(pal);
        centralWidget()->setAutoFillBackground(true);
    }
    // The profile view sits where the top view is, hidden.
    PicZ->hide();
    // A black view fitted to the terrain.
    Picture1->image() = QImage(CurrentTerrain->Size() + 1, CurrentTerrain->Size() + 1, QImage::Format_RGB32);
    Picture1->image().fill(Qt::black);
    ResizePic(CurrentTerrain->Size(), std::nullopt);
    // The terrain starts flat at raw height 0.
    CurrentTerrain->Fill(0);
    // The generator's layer picture slots.
    for (size_t i = 1; i <= 5; ++i) PicTer[i] = QImage();
    // Show; nothing to save yet.
    show();
    m_loaded = true;
    Form_Resize();
    markTerrainCleared();
    // Panels filled and the busy timer running before the perlin sets are read.
    ActualScreen();
    rt::DoEvents();
    Timer1->start();

    // The perlin sets; without them the editor cannot generate and ends.
    const QString psFolder = perlinFolder();
    vbConfig::LoadPerlinSets(psFolder);
    if (!perlinFolderHasFiles(psFolder)) {
        rt::MsgBox(QStringLiteral("Perlinsets not found !! Please install Perlinsets in Kelvarinorsubfolder \\PS !"),
                   rt::vbOKOnly | rt::vbCritical, QStringLiteral("ERROR"));
        close();
        return false;
    }
    // The perlin list with its first set chosen; "color white" waits for the Pen.
    LoadPerlinList(lstPerlinSets);
    if (lstPerlinSets->count() > 0) lstPerlinSets->setCurrentRow(0);
    Command1->setEnabled(false);
    // The colour table, pens off until the pen tool is chosen.
    LoadPalette();
    ToolBarPen->setEnabled(false);
    // Swatch and view background from the chosen scheme.
    const int row = paletteRowClamped();
    setSwatch(Picture2, Palette[std::clamp(Slider2->value() / 256, 0, PaletteCount)][row]);
    Picture1->image().fill(Palette[128][row]);
    Picture1->update();
    // The file named on the command line.
    if (!StartFile.isEmpty() && mTerLoad::LoadTerFile(StartFile)) {
        TerrainFileName = StartFile;
        ResizePic(CurrentTerrain->Size(), std::nullopt);
        setInfoText(QStringLiteral("Picture create..."));
        redrawTerrain();
        markTerrainLoaded();
        ActualScreen();
    }
    // The brush height's read-out and swatch.
    Slider2_Change();
    return true;
}

void frmTer::Form_Resize()
{
    if (!m_loaded || isMinimized()) return;
    // The zoom returns to 100 % within the new limit.
    MaxViewSize = float(maxViewSizeNow(kResizeMargin));
    ResizePic(CurrentTerrain->Size(), 0.0);
    // The bar shows the running progress; a busy window stays locked.
    PB->setValue(MainWindowLogic::progressBarValue(shownProgress()));
    if (rt::BusyFlag) setViewsEnabled(false);
}

void frmTer::Timer1_Timer()
{
    if (!CurrentTerrain) return;
    const bool busy = rt::BusyFlag;
    if (!busy) {
        // Idle: everything usable again.
        unsetCursor();
        setViewsEnabled(true);
        setInfoText(QStringLiteral("Ready"));
        PB->setValue(0);
        if (m_closeDeferred) {
            m_closeDeferred = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    } else {
        // Busy: nothing may start a second operation.
        setViewsEnabled(false);
        setCursor(Qt::WaitCursor);
        PB->setValue(MainWindowLogic::progressBarValue(shownProgress()));
    }
    // The task bar shows the progress of a minimized window.
    if (isMinimized())
        setWindowTitle(MainWindowLogic::minimizedCaption(busy, shownProgress(), TerrainFileName));
}

int32_t frmTer::shownProgress() const
{
    return (m_progressTerrain ? *m_progressTerrain : *CurrentTerrain).pProgress;
}

void frmTer::setViewsEnabled(bool enabled)
{
    Toolbar1->setEnabled(enabled);
    SSTab1->setEnabled(enabled);
    Picture1->setEnabled(enabled);
    PicZ->setEnabled(enabled);
}

void frmTer::ActualScreen()
{
    clsTerrain& t = *CurrentTerrain;
    // Caption.
    setWindowTitle(MainWindowLogic::mainCaption(TerrainFileName));
    // The parameter panel from the terrain.
    const double scale = t.ScaleT();
    txtMetersPoint->setText(rt::Format(std::clamp(scale, 1.0, 100.0), QStringLiteral("#####.###")));
    rt::showText(txtMinTerrain, rt::Format(double(t.MinTU()) * scale, QStringLiteral("#######0")));
    rt::showText(txtMaxTerrain, rt::Format(double(t.MaxTU()) * scale, QStringLiteral("#######0")));
    rt::showText(txtPlanetRadius, rt::Format(t.CRAD(), QStringLiteral("#####0")));
    rt::showText(txtTerSizeMeters, rt::Format(double(t.Size()) * scale, QStringLiteral("######0")));
    chkCurved->setChecked(t.CRVM() != 0);
    // Toolbar states.
    applyToolbarRules();
    cmdGenModify->setEnabled(MainWindowLogic::genModifyEnabled(TerrainEmpty, chkClearTerrain->isChecked()));
    // The height band in metres.
    showZBand();
    // The seed box, and the fix-height option handed to the terrain.
    txtRandom->setText(QString::number(RandomSeed));
    t.setFixHeight(chkFixHeight->isChecked());
}

void frmTer::runTerrainCommand(const QString& status, const std::function<TerrainChange()>& work)
{
    {
        rt::BusyGuard busy;
        if (!status.isEmpty()) setInfoText(status);
        CurrentTerrain->pProgress = 0;
        const TerrainChange change = work();
        if (change == TerrainChange::Heights || change == TerrainChange::Grid) markTerrainChanged();
        if (change == TerrainChange::Grid) ResizePic(CurrentTerrain->Size(), std::nullopt);
        if (change != TerrainChange::None) redrawTerrain();
        CurrentTerrain->pProgress = 100;
    }
    ActualScreen();
    rt::DoEvents();
}

void frmTer::redrawTerrain()
{
    DrawTerrainToPicture(Picture1->image(), *CurrentTerrain);
    Picture1->update();
}

void frmTer::ResizePic()
{
    ResizePic(CurrentTerrain->Size(), std::nullopt);
}

void frmTer::ResizePic(int size, std::optional<double> factor)
{
    // The new zoom within 0.25 .. 4.
    ZoomFactor = Zoom::applyFactor(ZoomFactor, factor);
    // Keep the current image as the placeholder.
    picback = Picture1->image();
    // Back to the top view.
    OptXYView_Click();
    // Within the window's limit.
    ZoomFactor = Zoom::fitToView(ZoomFactor, size, MaxViewSize);
    // View side and coordinates in terrain points.
    Picture1->setTerrainSize(CurrentTerrain->Size());
    Picture1->setViewSide(Zoom::viewSide(ZoomFactor, size));
    // The options are exclusive, which would keep the old one checked when no
    // option matches the size; none is checked then.
    QButtonGroup* sizes = optTerSize[0]->group();
    if (sizes) sizes->setExclusive(false);
    for (QRadioButton* o : optTerSize) o->setChecked(o->property("tag").toString().toInt() == size);
    if (sizes) sizes->setExclusive(true);
    // The old picture stretched to the terrain until the caller redraws.
    const int side = CurrentTerrain->Size() + 1;
    if (picback.isNull()) {
        Picture1->image() = QImage(side, side, QImage::Format_RGB32);
        Picture1->image().fill(Qt::black);
    } else if (picback.width() != side || picback.height() != side) {
        Picture1->image() = picback.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    Picture1->update();
    // Status bar: grid size and zoom.
    sBarPanels[0]->setText(Zoom::statusText(size, ZoomFactor));
    ActualScreen();
    rt::DoEvents();
}

void frmTer::LoadPerlinList(QListWidget* list)
{
    const auto& table = vbConfig::PerlinSetTable;
    for (size_t i = 0; i < table.size() && i < size_t(vbConfig::MaxPerlinSets); ++i) {
        if (table[i].name.isEmpty()) break;
        auto* item = new QListWidgetItem(table[i].name, list);
        item->setData(Qt::UserRole, int(i));
    }
}

void frmTer::Picture1_DblClick()
{
    {
        rt::BusyGuard busy;
        setInfoText(QStringLiteral("Picture redraw..."));
        ResetMouseFrame();
        rt::DoEvents();
        redrawTerrain();
        setInfoText(QStringLiteral("Ready"));
    }
    rt::DoEvents();
}

void frmTer::OptXYView_Click()
{
    PicZ->hide();
    Picture1->show();
    Picture1->update();
    OptXYView->setChecked(true);
}

void frmTer::Slider2_Change()
{
    clsTerrain& t = *CurrentTerrain;
    const int32_t v = Slider2->value();
    const int32_t f = sliderFineHeight->value();
    auto metres = [&t](int32_t x) { return t.rawToMetres(x); };
    // Cut, not rounded, to one and two decimals.
    lblHeight->setText(rt::Format(std::trunc(metres(v - 32768) * 10.0) / 10.0, QStringLiteral("####0.0")));
    lblPickHeigh->setText(rt::Format(std::trunc(metres(v - 32768 + f) * 100.0) / 100.0, QStringLiteral("####0.00")));
    chkPick->setChecked(false);
    const int heightClass = std::clamp<int32_t>((v + f) / 256, 0, PaletteCount);
    setSwatch(Picture2, Palette[heightClass][paletteRowClamped()]);
}

void frmTer::setSwatch(QLabel* swatch, QRgb colour)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(colour));
    swatch->setPalette(pal);
}

void frmTer::setInfoText(const QString& text)
{
    InfoText->setText(text);
}

// Panels 2..6: the point under the mouse in terrain units, raw, X, Y and metres.
void frmTer::showStatusReadOut(QPointF point)
{
    const auto texts = Pens::readout(*CurrentTerrain, point);
    if (!texts) return;
    for (size_t i = 0; i < texts->size(); ++i) sBarPanels[i + 1]->setText((*texts)[i]);
}

double frmTer::maxViewSizeNow(double margin) const
{
    const QSize vp = viewScroll->maximumViewportSize();
    return Zoom::maxViewSizeForHeight(std::min(vp.height(), vp.width()), margin);
}

void frmTer::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    // Saving or closing now would keep a half-done terrain and lose the
    // command's result: the close waits until the command has ended.
    if (rt::BusyFlag) {
        m_closeDeferred = true;
        event->ignore();
        return;
    }
    if (!FileCommands::mayDropTerrain(*this)) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void frmTer::Form_Unload()
{
    m_unloaded = true;
    Timer1->stop();
    const QString backup = FileCommands::backupFilePath();
    if (QFile::exists(backup)) QFile::remove(backup);
    // Closing the main window ends the program with every other window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
}

void frmTer::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmTer::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimized window brings its normal caption back.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && m_loaded)
        setWindowTitle(MainWindowLogic::mainCaption(TerrainFileName));
}
