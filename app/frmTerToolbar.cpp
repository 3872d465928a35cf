// The main toolbar and the tool bars of the Edit tab: buttons by key and
// position, their icons, and the dispatcher of the main toolbar.

#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/FileCommands.h"
#include "app/MainWindowLogic.h"
#include "app/frmAbout.h"
#include "app/frmTerIcons.h"
#include "app/dlgOptions.h"
#include "app/dlgPrint.h"
#include "app/dlgSavePerlinsetNew.h"
#include "app/view3DWidget.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using MainWindowLogic::ButtonKind;

namespace {

// Buttons whose windows come with later parts of the editor: they stay disabled.
bool commandAvailable(const QString& key)
{
    static const QStringList missing = {QStringLiteral("ObjectMaker")};
    return !missing.contains(key);
}

} // namespace

void frmTer::buildToolbar1()
{
    Toolbar1 = new QToolBar(QStringLiteral("Main"), this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    bool gapPending = false;
    for (const auto& spec : MainWindowLogic::toolbar1Buttons()) {
        if (spec.kind != ButtonKind::Button) {
            // A run of separators and placeholders shows as one separator.
            gapPending = true;
            m_toolbar1ByPosition[spec.position] = nullptr;
            continue;
        }
        if (gapPending) Toolbar1->addSeparator();
        gapPending = false;
        auto* a = new QAction(kvIcon(spec.key, spec.iconName), spec.caption, Toolbar1);
        a->setObjectName(spec.key);
        a->setData(spec.key);
        a->setToolTip(spec.toolTip);
        if (!spec.description.isEmpty()) a->setStatusTip(spec.description);
        a->setEnabled(commandAvailable(spec.key));
        const QString key = spec.key;
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        Toolbar1->addAction(a);
        m_toolbar1ByPosition[spec.position] = a;
    }
    addToolBar(Qt::TopToolBarArea, Toolbar1);
}

QAction* frmTer::toolbarButton(int position) const
{
    const auto it = m_toolbar1ByPosition.find(position);
    return it == m_toolbar1ByPosition.end() ? nullptr : it->second;
}

void frmTer::buildToolbar2()
{
    Toolbar2 = new QToolBar(QStringLiteral("Tools"));
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setIconSize(QSize(22, 22));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto* group = new QActionGroup(Toolbar2);
    struct Tool {
        const char* key;
        const char* tip;
    };
    static const Tool tools[] = {{"Pfeil", "arrow"},  {"Pen", "Pen"},         {"Select", "Select"},
                                 {"SelectRound", "Select round"},     {"up", "up"},
                                 {"down", "down"},    {"Erode", "Erode"},     {"Noise", "Noise"},
                                 {"Smooth", "Smooth"}, {"Sharpen", "Sharpen"}};
    for (const Tool& t : tools) {
        const QString key = QString::fromLatin1(t.key);
        auto* a = new QAction(kvIcon(key, QString()), QString::fromLatin1(t.tip), Toolbar2);
        a->setObjectName(key);
        a->setData(key);
        a->setCheckable(true);
        group->addAction(a);
        Toolbar2->addAction(a);
        if (key == QLatin1String("Select") || key == QLatin1String("up")) Toolbar2->addSeparator();
    }
    Toolbar2->actions().first()->setChecked(true);
}

void frmTer::buildToolBarPen()
{
    ToolBarPen = new QToolBar(QStringLiteral("Pen"));
    ToolBarPen->setObjectName(QStringLiteral("ToolBarPen"));
    ToolBarPen->setIconSize(QSize(20, 20));
    auto* group = new QActionGroup(ToolBarPen);
    static const char* const keys[][2] = {
        {"PenSquare", "Pen square"}, {"PenRound", "Pen round"}, {"PenNoise", "Pen noise"}};
    for (const auto& k : keys) {
        const QString key = QString::fromLatin1(k[0]);
        auto* a = new QAction(kvIcon(key, QString()), QString::fromLatin1(k[1]), ToolBarPen);
        a->setObjectName(key);
        a->setData(key);
        a->setCheckable(true);
        group->addAction(a);
        ToolBarPen->addAction(a);
    }
    ToolBarPen->actions().first()->setChecked(true);
}

void frmTer::Toolbar1_ButtonClick(const QString& key)
{
    // Hand the panel's planet values to the terrain, leave every tool, back to the top view.
    // The key filter clamps the radius text before each key, so the last key
    // can still take it past 10000; the terrain gets it clamped.
    txtPlanetRadius_Validate();
    CurrentTerrain->setCRAD(float(rt::Val(txtPlanetRadius->text())));
    CurrentTerrain->setCRVM(chkCurved->isChecked() ? 1 : 0);
    DeactEdit();
    OptXYView_Click();

    // Dispatch on the key; a command that ended at once skips the tail.
    bool completed = true;
    if (key == QLatin1String("Neu")) FileCommands::cmdNew(*this);
    else if (key == QStringLiteral("Öffnen")) completed = FileCommands::cmdOpen(*this);
    else if (key == QLatin1String("Speichern")) completed = FileCommands::cmdSave(*this);
    else if (key == QLatin1String("SpeichernAls")) completed = FileCommands::cmdSaveAs(*this);
    else if (key == QStringLiteral("Löschen")) FileCommands::cmdClear(*this);
    else if (key == QLatin1String("Backup")) FileCommands::cmdBackup(*this);
    else if (key == QLatin1String("Restore")) FileCommands::cmdRestore(*this);
    else if (key == QLatin1String("Terragen")) completed = FileCommands::cmdTerragen(*this);
    else if (key == QLatin1String("Zoom in")) ResizePic(CurrentTerrain->Size(), 2.0);
    else if (key == QLatin1String("Zoom out")) ResizePic(CurrentTerrain->Size(), 0.5);
    else if (key == QLatin1String("Zoom100")) ResizePic(CurrentTerrain->Size(), 0.0);
    else if (key == QLatin1String("View3d")) {
        view3D view(this);
        view.exec();
    } else if (key == QLatin1String("Print")) {
        dlgPrint print(this);
        print.exec();
    } else if (key == QLatin1String("Eigenschaften")) {
        dlgOptions options(centralWidget(), this);
        if (options.exec() == QDialog::Accepted) redrawTerrain();  // the colour scheme applies at once
    } else if (key == QLatin1String("SavePerlin")) {
        dlgSavePerlinsetNew dialog(this);
        dialog.exec();
    } else if (key == QLatin1String("Hilfe")) {
        frmAbout about(this);
        about.exec();
    } else {
        return;
    }
    if (completed) toolbarTail();
}

// What every completed command ends with.
void frmTer::toolbarTail()
{
    setInfoText(QStringLiteral("Ready"));
    PB->setValue(0);
    Slider2_Change();
    ActualScreen();
    rt::DoEvents();
}

void frmTer::DeactEdit()
{
    PenMode = false;
    chkPick->setChecked(false);
    SelectMode = false;
    if (!Toolbar2->actions().isEmpty()) Toolbar2->actions().first()->setChecked(true);
    FilterTool = 0;
    Command1->setEnabled(false);
    ResetMouseFrame();
    ToolBarPen->setEnabled(false);
    SelectRound = false;
    dropSelectionFrame();
    PickMode = false;
}
