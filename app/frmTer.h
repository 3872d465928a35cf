#pragma once
// The editor's main window: the height-map view, the main toolbar, the tabbed
// parameter panel, the status label, progress bar and status bar. The controls
// carry their names as Qt object names; the panels' behaviour lives in the
// handlers of the parts that fill them.

#include "app/Brushes.h"
#include "app/MainView.h"
#include "app/frmTerTools.h"
#include "generate/kvGenerator.h"

#include <QImage>
#include <QMainWindow>
#include <QRgb>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QStatusBar;
class QTabWidget;
class QPainter;
class QTimer;
class QToolBar;
class TerrainView;
class frmTerObjects;
namespace Pens {
struct PenSettings;
struct ViewMark;
}

class frmTer : public QMainWindow, public MainView {
    Q_OBJECT
public:
    explicit frmTer(QWidget* parent = nullptr);
    ~frmTer() override;

    // The window's own start; false when it had to unload itself (no perlin
    // sets installed), which ends the program.
    bool Form_Load();
    void Form_Resize();
    // The busy watcher, every 200 ms.
    void Timer1_Timer();

    // MainView
    void ActualScreen() override;
    void redrawTerrain() override;
    void ResizePic() override;
    void mergePlacedObjects() override;

    // What a terrain command did, for runTerrainCommand.
    enum class TerrainChange {
        None,     // nothing to show
        View,     // the view needs drawing again; the heights are as they were
        Heights,  // the heights changed: unsaved, drawn again
        Grid,     // as Heights, with the view fitted to the grid first
    };
    // Runs one terrain command of this window: busy, the status text (unless
    // empty) and progress from 0 while work runs, then what its change asks
    // for, then ActualScreen.
    void runTerrainCommand(const QString& status, const std::function<TerrainChange()>& work);

    // Fits Picture1 to a terrain of `size` and the zoom; an absent factor keeps
    // the zoom, 0 returns to 100 %.
    void ResizePic(int size, std::optional<double> factor);
    void LoadPerlinList(QListWidget* list);
    void Picture1_DblClick();
    void Toolbar1_ButtonClick(const QString& key);
    void OptXYView_Click();
    void DeactEdit();
    void ResetMouseFrame();
    void Slider2_Change();

    // Selection frame and its terrain menu (frmTerSelection.cpp).
    void endDrawingbox();
    void dropSelectionFrame();
    void mnuTerFill_Click();
    void mnuTerRaise_Click();
    void mnuTerLower_Click();
    void mnuTerTrim_Click();
    void mnuTerFlipRight_Click();
    void mnuTerFlipLeft_Click();
    void mnuTerReflectVert_Click();
    void mnuTerReflectHorizont_Click();
    void mnuTerMakeObject_Click();
    void mnuTerExit_Click();

    // Z view: side profile, colour bar and the Z range (frmTerProfile.cpp).
    void optZView_Click();
    void ZView(int position);
    void sldXView_Change();
    void SldYView_Change();
    void sldZMin_Change();
    void sldZMax_Change();
    void cmdZrangeReset_Click();
    // The band's borders in metres, as the sliders hold them.
    void showZBand();

    // Global tab, brush-height read-outs and Effects tab (frmTerPanels.cpp).
    void txtMinTerrain_Validate();
    void txtMaxTerrain_Validate();
    void txtPlanetRadius_Validate();
    void txtTerSizeMeters_Validate();
    void txtTerSizeMeters_LostFocus();
    void planetPreset_Click(int planet);  // a Panels::Planet
    void chkCurved_Click();
    void SSTab1_Click();
    void CmdResize_Click();
    void sliderFineHeight_Change();
    void cmdResetFineHeight_Click();
    void optFilter_Click(int index);
    void sldEffectFactor_Change();
    void cmdStartEffects_Click();

    // Pens on the top view (frmTerPens.cpp).
    void Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void Picture1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void Toolbar2_ButtonClick(const QString& key);
    void ToolBarPen_ButtonClick(const QString& key);
    void Command1_Click();
    // The tools of Toolbar2, chosen by its table (frmTerToolbar.cpp).
    void chooseArrow();
    void choosePen();
    void chooseSelection(bool round);
    void chooseBrush(Brushes::Tool tool);

    // Generator panel (frmTerGenerator.cpp).
    void cmdGenerator_Click();
    void cmdPreview_Click();
    void cmdGenModify_Click();
    void cmdRandom_Click();
    void chkClearTerrain_Click();
    void cmdGeneratorSaveSetting_Click();
    void cmdGenLoadSetting_Click();
    kvGenerator::GeneratorParams generatorParams() const;

    // The main toolbar's button at a 1-based position (separators and
    // placeholders counted); nullptr for those.
    QAction* toolbarButton(int position) const;

    // Back colour from the settings, applied by Form_Load.
    std::optional<QRgb> settingsBackColor;

    // --- pictures -------------------------------------------------------------
    QImage picback;                 // keeps and rescales the view image
    QImage PicLeer;                 // scratch picture of the generator
    std::array<QImage, 6> PicTer;   // 0: imported picture, 1..5: generator layers
    frmTerObjects* Objects = nullptr;  // placed objects over Picture1 (frmTerObjects.cpp)

    // --- window state ---------------------------------------------------------
    int PenShape = 1;       // 1 square, 2 round, 3 noise
    // PenMode, SelectMode, SelectRound and FilterTool tell the tool chosen
    // (useTool sets them); PickMode follows chkPick.
    bool PenMode = false;
    bool PickMode = false;
    bool SelectMode = false;
    bool SelectRound = false;
    bool FrameDrawn = false;
    bool SnapToGrid = false;
    int FilterTool = 0;
    Brushes::StrokeMask StrokeMask;  // points the brush stroke marked since the press
    int EffectFilter = 0;
    int ViewAxis = 1;
    // The selection frame in terrain points (round selection: centre and radius).
    int32_t FrameX1 = 0;
    int32_t FrameY1 = 0;
    int32_t FrameX2 = 0;
    int32_t FrameY2 = 0;
    double FrameRadius = 0;

    // --- controls -------------------------------------------------------------
    QToolBar* Toolbar1 = nullptr;
    QToolBar* Toolbar2 = nullptr;
    QToolBar* ToolBarPen = nullptr;
    TerrainView* Picture1 = nullptr;
    QScrollArea* viewScroll = nullptr;
    QFrame* PicZ = nullptr;
    QLabel* PicZView = nullptr;
    QLabel* PicColor = nullptr;
    QLabel* frmZView = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* InfoText = nullptr;
    QProgressBar* PB = nullptr;
    QStatusBar* sBar = nullptr;
    std::array<QLabel*, 6> sBarPanels = {};  // panels 1..6 at indices 0..5
    QTabWidget* SSTab1 = nullptr;
    QTimer* Timer1 = nullptr;
    QRadioButton* optZView = nullptr;
    QRadioButton* OptXYView = nullptr;

    // "Global" tab
    QLineEdit* txtPlanetRadius = nullptr;
    QCheckBox* chkCurved = nullptr;
    QPushButton* cmdMars = nullptr;
    QPushButton* cmdMoon = nullptr;
    QPushButton* cmdEarth = nullptr;
    QPushButton* cmdPlanetRender = nullptr;
    QLineEdit* txtMinTerrain = nullptr;
    QLineEdit* txtMaxTerrain = nullptr;
    QLineEdit* txtTerSizeMeters = nullptr;
    QLineEdit* txtMetersPoint = nullptr;
    QCheckBox* chkFixHeight = nullptr;
    std::array<QRadioButton*, 5> optTerSize = {};
    QPushButton* CmdResize = nullptr;

    // "Generator" tab
    QListWidget* lstPerlinSets = nullptr;
    QSlider* sldIteration = nullptr;
    QSlider* sldGenHeigth = nullptr;
    QSlider* sldStructure = nullptr;
    QSlider* Slider3 = nullptr;
    QCheckBox* chkHighResolution = nullptr;
    QCheckBox* chkClearTerrain = nullptr;
    QLineEdit* txtRandom = nullptr;
    QPushButton* cmdRandom = nullptr;
    QPushButton* cmdGenModify = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdGeneratorSaveSetting = nullptr;
    QPushButton* cmdGenLoadSetting = nullptr;
    QPushButton* cmdGenerator = nullptr;

    // "Edit" tab
    QSlider* Slider1 = nullptr;
    QLabel* Label39 = nullptr;
    QSlider* Slider2 = nullptr;
    QSlider* sliderFineHeight = nullptr;
    QPushButton* cmdResetFineHeight = nullptr;
    QLabel* lblHeight = nullptr;
    QLabel* lblPickHeigh = nullptr;
    QLabel* lblFineHeight = nullptr;
    QCheckBox* chkPick = nullptr;
    QCheckBox* chkEditSnap = nullptr;

    // "Effects" tab
    std::array<QRadioButton*, 12> optFilter = {};
    QSlider* sldEffectFactor = nullptr;
    QSlider* sldDepthEffects = nullptr;
    QPushButton* cmdElevatorPar = nullptr;
    QPushButton* cmdStartEffects = nullptr;
    QSlider* sldZMin = nullptr;
    QSlider* sldZMax = nullptr;
    QLineEdit* txtZMin = nullptr;
    QLineEdit* txtZmax = nullptr;
    QPushButton* cmdZrangeReset = nullptr;

    // "Objects" tab
    QPushButton* Command1 = nullptr;
    QPushButton* cmdMask = nullptr;
    QPushButton* cmdObjektmaker = nullptr;

    // Profile view controls inside PicZ
    QSlider* sldXView = nullptr;
    QSlider* SldYView = nullptr;
    QCheckBox* chkRealViewZ = nullptr;
    QLabel* lblZhigh = nullptr;
    QLabel* lblZlow = nullptr;
    QLabel* lblColTblMax = nullptr;
    QLabel* lblColTblMin = nullptr;
    QLabel* lblViewFrom = nullptr;

    // Pop-up menu "Terrain" of the selection frame.
    QMenu* mnuTerrain = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // frmTerLayout.cpp
    void buildWindow();
    QWidget* buildViewArea();
    QWidget* buildGlobalTab();
    QWidget* buildGeneratorTab();
    QWidget* buildEditTab();
    QWidget* buildEffectsTab();
    QWidget* buildObjectsTab();
    void buildProfileView();
    void buildStatusBar();
    // frmTerToolbar.cpp
    void buildToolbar1();
    void buildToolbar2();
    void buildToolBarPen();
    void toolbarTail();
    // Toolbar1's enabled rules for the terrain, backup and objects now.
    void applyToolbarRules();

    void Form_Unload();
    void setViewsEnabled(bool enabled);
    int32_t shownProgress() const;
    void setInfoText(const QString& text);
    void Picture1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point);
    // frmTerGenerator.cpp
    void connectGeneratorControls();
    void connectObjects();
    // The chosen set's pictures, kept in PicTer(1..5); nothing (with a message) when unusable.
    std::optional<kvGenerator::LayerPictures> loadChosenLayers();
    // frmTerPanels.cpp
    void connectPanelControls();
    // frmTerPens.cpp
    void connectPenControls();
    // The tools on Picture1 (frmTerPens.cpp, frmTerBrushes.cpp, frmTerSelection.cpp).
    class PenTool;
    class BrushTool;
    class SelectionTool;
    // Makes `tool` the one Picture1's mouse goes to; every tool but the pen drops the pick.
    void useTool(std::shared_ptr<ViewTool> tool);
    void pickHeight(QPointF point);
    void showPenCursor(Qt::MouseButtons buttons, QPointF point);
    void drawPenMark(const Pens::ViewMark& mark);
    void paintPenCursor(QPainter& painter);
    QRgb swatchColour() const;
    Pens::PenSettings penSettings() const;
    void showStatusReadOut(QPointF point);
    double maxViewSizeNow(double margin) const;
    void setSwatch(QLabel* swatch, QRgb colour);
    // frmTerBrushes.cpp
    // frmTerSelection.cpp
    void connectSelection();
    void paintSelectionFrame(QPainter& painter);
    void liftSelection(int sign);
    // frmTerProfile.cpp
    void connectProfile();
    void txtZ_EditingFinished(QLineEdit* box, QSlider* slider);

    std::map<int, QAction*> m_toolbar1ByPosition;
    // Shared so that a tool replaced while it handles an event lives until it returns.
    std::shared_ptr<ViewTool> m_tool = std::make_shared<ViewTool>();
    bool m_loaded = false;
    bool m_unloaded = false;
    // A close asked for while a command ran; the busy watcher repeats it afterwards.
    bool m_closeDeferred = false;
    // The terrain whose progress the busy watcher shows while a command works
    // on another than the current one (the generator's preview); null: the current terrain.
    const clsTerrain* m_progressTerrain = nullptr;
    // Shape1, the pen cursor: shown at m_cursorAt (terrain points) while visible.
    bool m_cursorVisible = false;
    QPointF m_cursorAt;
};
