// The main toolbar and the tool bars of the Edit tab: their tables (one row a
// button, see frmTerToolbar.h), the bars built from them and the main toolbar's dispatcher.

#include "app/frmTerToolbar.h"

#include "app/AppState.h"
#include "app/FileCommands.h"
#include "app/Pens.h"
#include "app/frmAbout.h"
#include "app/frmTer.h"
#include "app/dlgOptions.h"
#include "app/dlgPrint.h"
#include "generate/dlgSavePerlinsetNew.h"
#include "app/view3DWidget.h"
#include "runtime/FormControls.h"
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

namespace ToolbarCommands {

namespace {

// --- enabled rules --------------------------------------------------------------

std::optional<bool> withTerrain(const State& s)
{
    return !s.terrainEmpty;
}

// A backup can always be restored; without one an empty terrain has nothing to
// restore, and a terrain with content keeps the button as it was.
std::optional<bool> withBackup(const State& s)
{
    if (s.backupExists) return true;
    if (s.terrainEmpty) return false;
    return std::nullopt;
}

// Placed objects sit on the view at its scale: no zoom while they exist.
std::optional<bool> withoutObjects(const State& s)
{
    return !s.objectsPresent;
}

// --- rows -------------------------------------------------------------------------

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

Command separator(int position = 0)
{
    Command c;
    c.position = position;
    c.kind = Kind::Separator;
    return c;
}

void placeholders(std::vector<Command>& t, int from, int to)
{
    for (int p = from; p <= to; ++p) {
        Command c;
        c.position = p;
        c.kind = Kind::Placeholder;
        t.push_back(c);
    }
}

template <class Dialog>
bool showModal(frmTer& w)
{
    Dialog dialog(&w);
    dialog.exec();
    return true;
}

bool zoomBy(frmTer& w, double factor)
{
    w.ResizePic(CurrentTerrain->Size(), factor);
    return true;
}

} // namespace

const std::vector<Command>& toolbar1()
{
    static const std::vector<Command> table = [] {
        std::vector<Command> t;
        auto button = [&t](int pos, const char* key, const char* caption, const char* tip, const char* description,
                           const char* theme, Pictogram pictogram, EnabledRule enabled,
                           std::function<bool(frmTer&)> run) {
            t.push_back({pos, Kind::Button, text(key), text(caption), text(tip), text(description), text(theme),
                         pictogram, enabled, std::move(run)});
        };
        using namespace Pictograms;
        button(1, "Neu", "New", "New", "New", "document-new", newDocument, nullptr,
               [](frmTer& w) { FileCommands::cmdNew(w); return true; });
        button(2, "Öffnen", "Open", "Open", "Open", "document-open", open, nullptr,
               [](frmTer& w) { return FileCommands::cmdOpen(w); });
        button(3, "Speichern", "Save", "Save", "Save", "document-save", save, withTerrain,
               [](frmTer& w) { return FileCommands::cmdSave(w); });
        t.push_back(separator(4));
        button(5, "SpeichernAls", "SaveAs", "Save as...", "", "document-save-as", saveAs, withTerrain,
               [](frmTer& w) { return FileCommands::cmdSaveAs(w); });
        placeholders(t, 6, 6);
        button(7, "Print", "Print", "Print Terrain and Settings", "", "document-print", print, withTerrain,
               showModal<dlgPrint>);
        placeholders(t, 8, 8);
        button(9, "Restore", "Restore", "Restore Terrain", "", "document-revert", restore, withBackup,
               [](frmTer& w) { FileCommands::cmdRestore(w); return true; });
        button(10, "Backup", "Backup", "Backup Terrain", "", "drive-harddisk", backup, withTerrain,
               [](frmTer& w) { FileCommands::cmdBackup(w); return true; });
        t.push_back(separator(11));
        button(12, "Eigenschaften", "Properties", "Options", "Properties", "preferences-system", properties, nullptr,
               [](frmTer& w) {
                   dlgOptions options(w.centralWidget(), &w);
                   if (options.exec() == QDialog::Accepted) w.redrawTerrain();  // the colour scheme applies at once
                   return true;
               });
        t.push_back(separator(13));
        button(14, "Löschen", "Clear", "Clear Terrain ", "Delete", "edit-clear", clear, nullptr,
               [](frmTer& w) { FileCommands::cmdClear(w); return true; });
        placeholders(t, 15, 16);
        button(17, "Hilfe", "About", "About", "Help", "help-about", help, nullptr, showModal<frmAbout>);
        placeholders(t, 18, 19);
        button(20, "Zoom in", "", "Zoom x2", "", "zoom-in", zoomIn, withoutObjects,
               [](frmTer& w) { return zoomBy(w, 2.0); });
        button(21, "Zoom out", "", "Zoom /2", "", "zoom-out", zoomOut, withoutObjects,
               [](frmTer& w) { return zoomBy(w, 0.5); });
        button(22, "Zoom100", "", "Zoom 100%", "", "zoom-original", zoom100, nullptr,
               [](frmTer& w) { return zoomBy(w, 0.0); });
        placeholders(t, 23, 28);
        button(29, "Terragen", "", "Start Terragen with actually terrain", "", "media-playback-start", terragen,
               nullptr, [](frmTer& w) { return FileCommands::cmdTerragen(w); });
        placeholders(t, 30, 31);
        button(32, "View3d", "", "View Terrain 3D", "", "view-3d", view3d, nullptr, showModal<view3D>);
        placeholders(t, 33, 34);
        button(35, "ObjectMaker", "", "ObjectMaker", "", "applications-graphics", objectMaker, nullptr,
               [](frmTer& w) {
                   // The same window as the Objects tab's button.
                   w.cmdObjektmaker->click();
                   return true;
               });
        placeholders(t, 36, 39);
        button(40, "SavePerlin", "", "", "", "document-export", savePerlin, nullptr,
               showModal<dlgSavePerlinsetNew>);
        return t;
    }();
    return table;
}

const std::vector<Command>& toolbar2()
{
    static const std::vector<Command> table = [] {
        std::vector<Command> t;
        auto tool = [&t](const char* key, const char* caption, Pictogram pictogram, std::function<void(frmTer&)> choose) {
            Command c;
            c.key = text(key);
            c.caption = text(caption);
            c.pictogram = pictogram;
            c.run = [choose](frmTer& w) { choose(w); return true; };
            t.push_back(c);
        };
        auto brush = [&tool](const char* key, Pictogram pictogram, Brushes::Tool b) {
            tool(key, key, pictogram, [b](frmTer& w) { w.chooseBrush(b); });
        };
        using namespace Pictograms;
        tool("Pfeil", "arrow", pointer, [](frmTer& w) { w.chooseArrow(); });
        tool("Pen", "Pen", pen, [](frmTer& w) { w.choosePen(); });
        tool("Select", "Select", select, [](frmTer& w) { w.chooseSelection(false); });
        t.push_back(separator());
        tool("SelectRound", "Select round", selectRound, [](frmTer& w) { w.chooseSelection(true); });
        brush("up", up, Brushes::Up);
        t.push_back(separator());
        brush("down", down, Brushes::Down);
        brush("Erode", erode, Brushes::Erode);
        brush("Noise", noise, Brushes::Noise);
        brush("Smooth", smooth, Brushes::Smooth);
        brush("Sharpen", sharpen, Brushes::Sharpen);
        return t;
    }();
    return table;
}

const std::vector<Command>& toolBarPen()
{
    static const std::vector<Command> table = [] {
        std::vector<Command> t;
        auto shape = [&t](const char* key, const char* caption, Pictogram pictogram, Pens::Shape s) {
            Command c;
            c.key = text(key);
            c.caption = text(caption);
            c.pictogram = pictogram;
            c.run = [s](frmTer& w) { w.PenShape = s; return true; };
            t.push_back(c);
        };
        shape("PenSquare", "Pen square", Pictograms::penSquare, Pens::PenSquare);
        shape("PenRound", "Pen round", Pictograms::penRound, Pens::PenRound);
        shape("PenNoise", "Pen noise", Pictograms::noise, Pens::PenNoise);
        return t;
    }();
    return table;
}

const Command* find(const std::vector<Command>& table, const QString& key)
{
    for (const Command& c : table)
        if (c.kind == Kind::Button && c.key == key) return &c;
    return nullptr;
}

} // namespace ToolbarCommands

using ToolbarCommands::Command;
using ToolbarCommands::Kind;

namespace {

ToolbarCommands::State toolbarState()
{
    return {TerrainEmpty, BackupExists, ObjectsPresent};
}

// Fills `bar` from `table`; a run of separators and placeholders shows as one
// separator. Each button's action is reported with its row.
template <class OnAction>
void fillToolbar(QToolBar* bar, const std::vector<Command>& table, QActionGroup* group, OnAction onAction)
{
    const ToolbarCommands::State state = toolbarState();
    bool gapPending = false;
    for (const Command& c : table) {
        if (c.kind != Kind::Button) {
            gapPending = true;
            onAction(c, nullptr);
            continue;
        }
        if (gapPending) bar->addSeparator();
        gapPending = false;
        auto* a = new QAction(kvIcon(c.pictogram, c.themeIcon), c.caption, bar);
        a->setObjectName(c.key);
        a->setData(c.key);
        if (group) {
            a->setCheckable(true);
            group->addAction(a);
        }
        a->setEnabled(c.enabled ? c.enabled(state).value_or(true) : true);
        bar->addAction(a);
        onAction(c, a);
    }
    if (group && !bar->actions().isEmpty()) bar->actions().first()->setChecked(true);
}

} // namespace

void frmTer::buildToolbar1()
{
    Toolbar1 = new QToolBar(QStringLiteral("Main"), this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    fillToolbar(Toolbar1, ToolbarCommands::toolbar1(), nullptr, [this](const Command& c, QAction* a) {
        m_toolbar1ByPosition[c.position] = a;
        if (!a) return;
        a->setToolTip(c.toolTip);
        if (!c.description.isEmpty()) a->setStatusTip(c.description);
        const QString key = c.key;
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    });
    addToolBar(Qt::TopToolBarArea, Toolbar1);
}

QAction* frmTer::toolbarButton(int position) const
{
    const auto it = m_toolbar1ByPosition.find(position);
    return it == m_toolbar1ByPosition.end() ? nullptr : it->second;
}

void frmTer::applyToolbarRules()
{
    const ToolbarCommands::State state = toolbarState();
    for (const Command& c : ToolbarCommands::toolbar1()) {
        QAction* a = c.enabled ? toolbarButton(c.position) : nullptr;
        if (!a) continue;
        if (const auto on = c.enabled(state)) a->setEnabled(*on);
    }
}

void frmTer::buildToolbar2()
{
    Toolbar2 = new QToolBar(QStringLiteral("Tools"));
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setIconSize(QSize(22, 22));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    fillToolbar(Toolbar2, ToolbarCommands::toolbar2(), new QActionGroup(Toolbar2), [this](const Command& c, QAction* a) {
        if (!a) return;
        const QString key = c.key;
        connect(a, &QAction::triggered, this, [this, key] { Toolbar2_ButtonClick(key); });
    });
}

void frmTer::buildToolBarPen()
{
    ToolBarPen = new QToolBar(QStringLiteral("Pen"));
    ToolBarPen->setObjectName(QStringLiteral("ToolBarPen"));
    ToolBarPen->setIconSize(QSize(20, 20));
    fillToolbar(ToolBarPen, ToolbarCommands::toolBarPen(), new QActionGroup(ToolBarPen),
                [this](const Command& c, QAction* a) {
                    if (!a) return;
                    const QString key = c.key;
                    connect(a, &QAction::triggered, this, [this, key] { ToolBarPen_ButtonClick(key); });
                });
}

void frmTer::Toolbar1_ButtonClick(const QString& key)
{
    // Hand the panel's planet values to the terrain, leave every tool, back to the top view.
    // The key filter clamps the radius text before each key, so the last key
    // can still take it past 10000; the terrain gets it clamped. A radius the
    // user did not type is the terrain's own, shown in whole km.
    if (rt::userEdited(txtPlanetRadius)) {
        txtPlanetRadius_Validate();
        CurrentTerrain->setCRAD(float(rt::Val(txtPlanetRadius->text())));
    }
    CurrentTerrain->setCRVM(chkCurved->isChecked() ? 1 : 0);
    DeactEdit();
    OptXYView_Click();

    // A key without a command does nothing more; one that ended at once skips the tail.
    const Command* c = ToolbarCommands::find(ToolbarCommands::toolbar1(), key);
    if (!c || !c->run) return;
    if (c->run(*this)) toolbarTail();
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
    // The arrow, which also drops the pick.
    chooseArrow();
    if (!Toolbar2->actions().isEmpty()) Toolbar2->actions().first()->setChecked(true);
    Command1->setEnabled(false);
    ResetMouseFrame();
    ToolBarPen->setEnabled(false);
    dropSelectionFrame();
}
