// The main window's controls and their placement. Captions, tool tips and
// ranges are the window's own; behaviour is connected in frmTer.cpp and by the
// panels' handlers.

#include "app/frmTer.h"
#include "app/frmTerView.h"
#include "runtime/FormControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using rt::named;
using rt::slider;

QLineEdit* textBox(QWidget* parent, const char* name, const QString& toolTip, const QString& text = QString())
{
    auto* t = named(new QLineEdit(text, parent), name, toolTip);
    t->setAlignment(Qt::AlignRight);
    t->setMaximumWidth(110);
    return t;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

// A page of the tab control: its frames stacked from the top.
QWidget* tabPage(const char* name, std::initializer_list<QWidget*> frames)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 10, 8, 8);
    v->setSpacing(10);
    for (QWidget* f : frames) {
        f->setParent(page);
        v->addWidget(f);
    }
    v->addStretch(1);
    return page;
}

} // namespace

void frmTer::buildWindow()
{
    setObjectName(QStringLiteral("frmTer"));
    buildToolbar1();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmTerClient"));
    auto* h = new QHBoxLayout(central);
    h->setContentsMargins(6, 6, 6, 4);
    h->setSpacing(8);
    h->addWidget(buildViewArea(), 1);

    auto* right = new QWidget(central);
    auto* rv = new QVBoxLayout(right);
    rv->setContentsMargins(0, 0, 0, 0);
    rv->setSpacing(6);

    auto* viewFrame = named(new QGroupBox(QStringLiteral("View"), right), "fraView");
    auto* vh = new QHBoxLayout(viewFrame);
    vh->setContentsMargins(8, 4, 8, 4);
    OptXYView = named(new QRadioButton(QStringLiteral("Top view"), viewFrame), "OptXYView",
                      QStringLiteral("select normal-view"));
    optZView = named(new QRadioButton(QStringLiteral("Z view"), viewFrame), "optZView",
                     QStringLiteral("select z-view"));
    OptXYView->setChecked(true);
    optZView->setEnabled(false);  // until the profile view is built
    vh->addWidget(OptXYView);
    vh->addWidget(optZView);
    vh->addStretch(1);
    rv->addWidget(viewFrame);

    SSTab1 = named(new QTabWidget(right), "SSTab1");
    SSTab1->addTab(buildGlobalTab(), QStringLiteral("Global"));
    SSTab1->addTab(buildGeneratorTab(), QStringLiteral("Generator"));
    SSTab1->addTab(buildEditTab(), QStringLiteral("Edit"));
    SSTab1->addTab(buildEffectsTab(), QStringLiteral("Effects"));
    SSTab1->addTab(buildObjectsTab(), QStringLiteral("Objects"));
    rv->addWidget(SSTab1, 1);
    right->setFixedWidth(380);
    h->addWidget(right);

    setCentralWidget(central);
    buildStatusBar();
}

QWidget* frmTer::buildViewArea()
{
    auto* area = new QWidget;
    auto* v = new QVBoxLayout(area);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);

    viewScroll = named(new QScrollArea(area), "viewScroll");
    viewScroll->setAlignment(Qt::AlignCenter);
    viewScroll->setFrameShape(QFrame::StyledPanel);
    viewScroll->setBackgroundRole(QPalette::Dark);
    viewScroll->setWidgetResizable(false);

    auto* host = new QWidget;
    host->setObjectName(QStringLiteral("viewHost"));
    auto* hv = new QVBoxLayout(host);
    hv->setContentsMargins(0, 0, 0, 0);
    hv->setSizeConstraint(QLayout::SetFixedSize);
    Picture1 = named(new TerrainView(host), "Picture1");
    hv->addWidget(Picture1);
    buildProfileView();
    PicZ->setParent(host);
    hv->addWidget(PicZ);
    PicZ->hide();
    viewScroll->setWidget(host);
    v->addWidget(viewScroll, 1);

    auto* info = new QHBoxLayout;
    info->setSpacing(8);
    InfoText = named(new QLabel(QStringLiteral("Ready"), area), "InfoText", QStringLiteral("process information"));
    InfoText->setMinimumWidth(220);
    InfoText->setFrameShape(QFrame::StyledPanel);
    InfoText->setFrameShadow(QFrame::Sunken);
    InfoText->setContentsMargins(6, 1, 6, 1);
    PB = named(new QProgressBar(area), "PB", QStringLiteral("Process announcement"));
    PB->setRange(0, 100);
    PB->setValue(0);
    PB->setTextVisible(true);
    info->addWidget(InfoText, 2);
    info->addWidget(PB, 3);
    v->addLayout(info);
    return area;
}

void frmTer::buildProfileView()
{
    PicZ = named(new QFrame, "PicZ");
    PicZ->setFrameShape(QFrame::StyledPanel);
    PicZ->setFixedSize(510, 510);
    PicZ->setAutoFillBackground(true);

    auto* g = new QGridLayout(PicZ);
    g->setContentsMargins(6, 6, 6, 6);
    PicZView = named(new QLabel(PicZ), "PicZView");
    PicZView->setFixedSize(120, 120);
    PicZView->setFrameShape(QFrame::Box);
    PicColor = named(new QLabel(PicZ), "PicColor");
    PicColor->setFixedSize(20, 120);
    lblColTblMax = named(new QLabel(PicZ), "lblColTblMax");
    lblColTblMin = named(new QLabel(PicZ), "lblColTblMin");
    chkRealViewZ = named(new QCheckBox(QStringLiteral("real view"), PicZ), "chkRealViewZ");
    sldXView = slider(PicZ, "sldXView", 0, 255, 0, 16, 0);
    SldYView = slider(PicZ, "SldYView", 0, 255, 0, 16, 0);
    lblViewFrom = named(new QLabel(QStringLiteral("X"), PicZ), "lblViewFrom");
    lblZhigh = named(new QLabel(PicZ), "lblZhigh");
    lblZlow = named(new QLabel(PicZ), "lblZlow");
    frmZView = named(new QLabel(PicZ), "frmZView");
    frmZView->setMinimumHeight(260);
    frmZView->setFrameShape(QFrame::Box);

    g->addWidget(PicZView, 0, 0, 3, 1);
    g->addWidget(lblColTblMax, 0, 1);
    g->addWidget(PicColor, 1, 1);
    g->addWidget(lblColTblMin, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("X"), PicZ), 0, 2);
    g->addWidget(sldXView, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Y"), PicZ), 1, 2);
    g->addWidget(SldYView, 1, 3);
    g->addWidget(chkRealViewZ, 2, 3);
    g->addWidget(lblZhigh, 3, 0);
    g->addWidget(lblViewFrom, 3, 3, Qt::AlignRight);
    g->addWidget(frmZView, 4, 0, 1, 4);
    g->addWidget(lblZlow, 5, 0);
    g->setRowStretch(4, 1);
    g->setColumnStretch(3, 1);
}

QWidget* frmTer::buildGlobalTab()
{
    auto* planet = named(new QGroupBox(QStringLiteral("Planetary Context")), "fraPlanetary");
    auto* pg = new QGridLayout(planet);
    txtPlanetRadius = textBox(planet, "txtPlanetRadius", QStringLiteral("Planetradius in km"));
    chkCurved = named(new QCheckBox(QStringLiteral("curved Terrain"), planet), "chkCurved",
                      QStringLiteral("click for curved Terrain"));
    cmdMars = named(new QPushButton(QStringLiteral("Mars"), planet), "cmdMars",
                    QStringLiteral("Sets the planet radius for the mars"));
    cmdMoon = named(new QPushButton(QStringLiteral("Moon"), planet), "cmdMoon",
                    QStringLiteral("Sets the planet radius for the moon"));
    cmdEarth = named(new QPushButton(QStringLiteral("Earth"), planet), "cmdEarth",
                     QStringLiteral("Sets the planet radius for the earth"));
    cmdPlanetRender = named(new QPushButton(QStringLiteral("Planet complete"), planet), "cmdPlanetRender",
                            QStringLiteral("Sets all values for the terrain values, over in Terragen a planet too rendern."));
    pg->addWidget(new QLabel(QStringLiteral("Radius"), planet), 0, 0);
    pg->addWidget(txtPlanetRadius, 0, 1);
    pg->addWidget(new QLabel(QStringLiteral("km"), planet), 0, 2);
    pg->addWidget(chkCurved, 0, 3);
    auto* presets = new QHBoxLayout;
    presets->addWidget(cmdMars);
    presets->addWidget(cmdMoon);
    presets->addWidget(cmdEarth);
    pg->addLayout(presets, 1, 0, 1, 4);
    pg->addWidget(cmdPlanetRender, 2, 0, 1, 4);
    pg->setColumnStretch(3, 1);

    auto* area = named(new QGroupBox(QStringLiteral("Landscape Area")), "fraLandscape");
    auto* af = new QFormLayout(area);
    af->setLabelAlignment(Qt::AlignLeft);
    txtMinTerrain = textBox(area, "txtMinTerrain", QStringLiteral("Deepest point in the terrain "), QStringLiteral("-300"));
    txtMaxTerrain = textBox(area, "txtMaxTerrain", QStringLiteral("highest point in the terrain"));
    txtTerSizeMeters = textBox(area, "txtTerSizeMeters", QStringLiteral("side length of the terrain"));
    txtMetersPoint = textBox(area, "txtMetersPoint", QStringLiteral("metres for point"));
    txtMetersPoint->setReadOnly(true);
    chkFixHeight = named(new QCheckBox(QStringLiteral("fix Height"), area), "chkFixHeight");
    af->addRow(caption(QStringLiteral("min. heigth of Terrain in meters"), area), txtMinTerrain);
    af->addRow(caption(QStringLiteral("max. heigth of Terrain in meters"), area), txtMaxTerrain);
    af->addRow(caption(QStringLiteral("metres in square"), area), txtTerSizeMeters);
    af->addRow(caption(QStringLiteral("metres point spacing"), area), txtMetersPoint);
    af->addRow(QString(), chkFixHeight);

    auto* grid = named(new QGroupBox(QStringLiteral("Terrain Grid Points")), "fraGridPoints");
    auto* gg = new QGridLayout(grid);
    static const char* const captions[] = {"129 x 129", "257 x 257", "513 x 513", "1025 x 1025", "2048 x 2048"};
    static const char* const tags[] = {"128", "256", "512", "1024", "2048"};
    auto* group = new QButtonGroup(grid);
    for (int i = 4; i >= 0; --i) {
        auto* o = new QRadioButton(QString::fromLatin1(captions[i]), grid);
        o->setObjectName(QStringLiteral("optTerSize_%1").arg(i));
        o->setProperty("tag", QString::fromLatin1(tags[i]));
        group->addButton(o, i);
        optTerSize[size_t(i)] = o;
        gg->addWidget(o, (4 - i) / 2, (4 - i) % 2);  // largest first, two per row
    }
    optTerSize[2]->setChecked(true);
    CmdResize = named(new QPushButton(QStringLiteral("Resize"), grid), "CmdResize",
                      QStringLiteral("Resize the Landscape"));
    gg->addWidget(CmdResize, 2, 1);

    return tabPage("tabGlobal", {planet, area, grid});
}

QWidget* frmTer::buildGeneratorTab()
{
    auto* gen = named(new QGroupBox(QStringLiteral("Generator Setup")), "fraGeneratorSetup");
    auto* g = new QGridLayout(gen);
    g->setVerticalSpacing(4);
    lstPerlinSets = named(new QListWidget(gen), "lstPerlinSets", QStringLiteral("Select Perlinset"));
    lstPerlinSets->setMaximumHeight(96);
    sldIteration = slider(gen, "sldIteration", 1, 11, 1, 1, 1, QStringLiteral("max. iteration of Perlin Noise"));
    sldGenHeigth = slider(gen, "sldGenHeigth", 1, 100, 100, 10, 10, QStringLiteral("Overall height"));
    sldStructure = slider(gen, "sldStructure", 0, 4, 2, 1, 1, QStringLiteral("Structure size"));
    Slider3 = slider(gen, "Slider3", 0, 10, 0, 1, 1);
    chkHighResolution = named(new QCheckBox(QStringLiteral("finer Structures"), gen), "chkHighResolution",
                              QStringLiteral("create finer structures. Need more computing time"));
    chkClearTerrain = named(new QCheckBox(QStringLiteral("clear Terrain"), gen), "chkClearTerrain",
                            QStringLiteral("the existing terrain deletes, before the new terrain is generated"));
    txtRandom = textBox(gen, "txtRandom", QStringLiteral("input new random seed  ( 0-999999)"), QStringLiteral("0"));
    cmdRandom = named(new QPushButton(QStringLiteral("RND"), gen), "cmdRandom",
                      QStringLiteral("Set new random seed of Perlin"));
    cmdGenModify = named(new QPushButton(QStringLiteral("Modify Options"), gen), "cmdGenModify",
                         QStringLiteral("select modify options for overlay this terrain"));
    cmdPreview = named(new QPushButton(QStringLiteral("Preview"), gen), "cmdPreview",
                       QStringLiteral("Preview then new Terrain with the random seed"));
    cmdGeneratorSaveSetting = named(new QPushButton(QStringLiteral("save"), gen), "cmdGeneratorSaveSetting",
                                    QStringLiteral("save generator settings "));
    cmdGenLoadSetting = named(new QPushButton(QStringLiteral("load"), gen), "cmdGenLoadSetting",
                              QStringLiteral("load generator settings"));
    cmdGenerator = named(new QPushButton(QStringLiteral("Produce terrain !"), gen), "cmdGenerator",
                         QStringLiteral("Produce terrain"));
    QFont bold = cmdGenerator->font();
    bold.setBold(true);
    cmdGenerator->setFont(bold);
    cmdGenerator->setMinimumHeight(32);

    int row = 0;
    g->addWidget(new QLabel(QStringLiteral("Perlinset"), gen), row++, 0, 1, 2);
    g->addWidget(lstPerlinSets, row++, 0, 1, 2);
    auto addSlider = [&](const char* label, QSlider* s) {
        auto* l = new QLabel(QString::fromLatin1(label), gen);
        l->setAlignment(Qt::AlignCenter);
        g->addWidget(l, row++, 0, 1, 2);
        g->addWidget(s, row++, 0, 1, 2);
    };
    addSlider("min       Iteration      max", sldIteration);
    addSlider("min      Heigth        max", sldGenHeigth);
    addSlider("max     Structure    min", sldStructure);
    addSlider("0        roughness    max", Slider3);
    g->addWidget(chkHighResolution, row, 0);
    g->addWidget(chkClearTerrain, row++, 1);
    auto* seed = new QHBoxLayout;
    seed->addWidget(new QLabel(QStringLiteral("Random seed"), gen));
    seed->addWidget(txtRandom);
    seed->addWidget(cmdRandom);
    g->addLayout(seed, row++, 0, 1, 2);
    g->addWidget(cmdGenModify, row, 0);
    g->addWidget(cmdPreview, row++, 1);
    g->addWidget(cmdGeneratorSaveSetting, row, 0);
    g->addWidget(cmdGenLoadSetting, row++, 1);
    g->addWidget(cmdGenerator, row++, 0, 1, 2);

    auto* frame = named(new QGroupBox(QStringLiteral("Generator")), "fraGenerator");
    auto* fv = new QVBoxLayout(frame);
    gen->setParent(frame);
    fv->addWidget(gen);
    return tabPage("tabGenerator", {frame});
}

QWidget* frmTer::buildEditTab()
{
    auto* tools = named(new QGroupBox(QStringLiteral("Tools")), "fraTools");
    auto* tv = new QVBoxLayout(tools);
    buildToolbar2();
    buildToolBarPen();
    Toolbar2->setParent(tools);
    ToolBarPen->setParent(tools);
    tv->addWidget(Toolbar2);
    auto* penRow = new QHBoxLayout;
    penRow->addWidget(new QLabel(QStringLiteral("Pen"), tools));
    penRow->addWidget(ToolBarPen);
    penRow->addStretch(1);
    chkPick = named(new QCheckBox(QStringLiteral("Pick"), tools), "chkPick",
                    QStringLiteral("if active, the height of the terrain taken over with mouse-click"));
    chkEditSnap = named(new QCheckBox(QStringLiteral("Snap"), tools), "chkEditSnap",
                        QStringLiteral("snapping into place - "));
    penRow->addWidget(chkPick);
    penRow->addWidget(chkEditSnap);
    tv->addLayout(penRow);

    auto* brush = named(new QGroupBox(QStringLiteral("Brush")), "fraBrush");
    auto* bg = new QGridLayout(brush);
    Slider1 = slider(brush, "Slider1", 1, 60, 10, 5, 4);
    Label39 = named(new QLabel(QStringLiteral("10"), brush), "Label39");
    Label39->setMinimumWidth(28);
    Label39->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bg->addWidget(new QLabel(QStringLiteral("Size"), brush), 0, 0);
    bg->addWidget(Slider1, 0, 1);
    bg->addWidget(Label39, 0, 2);

    auto* height = named(new QGroupBox(QStringLiteral("Height")), "fraHeight");
    auto* hg = new QGridLayout(height);
    Slider2 = slider(height, "Slider2", 1, 65534, 32768, 256, 4096);
    sliderFineHeight = slider(height, "sliderFineHeight", -1000, 1000, 0, 50, 100, QStringLiteral("Add or sub to Height"));
    cmdResetFineHeight = named(new QPushButton(QStringLiteral("Reset"), height), "cmdResetFineHeight");
    Picture2 = named(new QLabel(height), "Picture2", QStringLiteral("taken over or adjusted height"));
    Picture2->setFixedSize(44, 44);
    Picture2->setFrameShape(QFrame::Box);
    Picture2->setAutoFillBackground(true);
    lblHeight = named(new QLabel(QStringLiteral("0.00"), height), "lblHeight", QStringLiteral("total height"));
    lblPickHeigh = named(new QLabel(QStringLiteral("0.00"), height), "lblPickHeigh");
    lblFineHeight = named(new QLabel(QStringLiteral("0.000"), height), "lblFineHeight");
    for (QLabel* l : {lblHeight, lblPickHeigh, lblFineHeight}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    hg->addWidget(Slider2, 0, 0, 1, 3);
    hg->addWidget(Picture2, 0, 3, 2, 1, Qt::AlignCenter);
    hg->addWidget(new QLabel(QStringLiteral("height (m)"), height), 1, 0);
    hg->addWidget(lblHeight, 1, 1);
    auto* fineLabel = new QLabel(QStringLiteral(" -              0              +"), height);
    hg->addWidget(fineLabel, 2, 0, 1, 3);
    hg->addWidget(sliderFineHeight, 3, 0, 1, 3);
    hg->addWidget(cmdResetFineHeight, 3, 3);
    hg->addWidget(new QLabel(QStringLiteral("fine (m)"), height), 4, 0);
    hg->addWidget(lblFineHeight, 4, 1);
    hg->addWidget(new QLabel(QStringLiteral("pen height (m)"), height), 5, 0);
    hg->addWidget(lblPickHeigh, 5, 1);
    hg->setColumnStretch(2, 1);

    return tabPage("tabEdit", {tools, brush, height});
}

QWidget* frmTer::buildEffectsTab()
{
    auto* filters = named(new QGroupBox(QStringLiteral("Filters")), "fraFilters");
    auto* fg = new QGridLayout(filters);
    fg->setVerticalSpacing(2);
    static const char* const captions[] = {"Smooth",         "Noise",         "Invers ",        "Elevator shift",
                                           "Erosion (River)", "Invers gamma shift", "Gamma shift", "Sinus shift",
                                           "Erosion (Rain)", "Stretch",       "Optimized",      "Natural erosion (exp)"};
    auto* group = new QButtonGroup(filters);
    for (int i = 0; i < 12; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(captions[i]), filters);
        o->setObjectName(QStringLiteral("optFilter_%1").arg(i));
        if (i == 11) o->setToolTip(QStringLiteral("experimental (BETA)"));
        group->addButton(o, i);
        optFilter[size_t(i)] = o;
        fg->addWidget(o, i % 6, i / 6);
    }
    optFilter[0]->setChecked(true);

    auto* strength = named(new QGroupBox(QStringLiteral("Strength")), "fraStrength");
    auto* sg = new QGridLayout(strength);
    sldEffectFactor = slider(strength, "sldEffectFactor", 0, 10, 1, 1, 1, QStringLiteral("Strength of the assigned effect"));
    sldDepthEffects = slider(strength, "sldDepthEffects", 0, 30, 5, 2, 2, QStringLiteral("select depht of effects"));
    cmdElevatorPar = named(new QPushButton(QStringLiteral("Elevator..."), strength), "cmdElevatorPar");
    cmdStartEffects = named(new QPushButton(QStringLiteral("Start !"), strength), "cmdStartEffects",
                            QStringLiteral("Start Effects"));
    QFont bold = cmdStartEffects->font();
    bold.setBold(true);
    cmdStartEffects->setFont(bold);
    sg->addWidget(new QLabel(QStringLiteral("Strength"), strength), 0, 0);
    sg->addWidget(sldEffectFactor, 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("Depth"), strength), 1, 0);
    sg->addWidget(sldDepthEffects, 1, 1);
    sg->addWidget(cmdElevatorPar, 2, 0);
    sg->addWidget(cmdStartEffects, 2, 1);

    auto* band = named(new QGroupBox(QStringLiteral(" Elevator- Parameter")), "fraElevatorParameter");
    auto* bgl = new QGridLayout(band);
    sldZMin = slider(band, "sldZMin", 0, 65536, 0, 4096, 4096, QStringLiteral("lower working on border "));
    sldZMax = slider(band, "sldZMax", 0, 65536, 65536, 4096, 4096, QStringLiteral("upper working on border"));
    txtZMin = textBox(band, "txtZMin", QStringLiteral("total height"));
    txtZmax = textBox(band, "txtZmax", QStringLiteral("total height"));
    cmdZrangeReset = named(new QPushButton(QStringLiteral("Reset"), band), "cmdZrangeReset",
                           QStringLiteral("put back to terrain borders"));
    bgl->addWidget(new QLabel(QStringLiteral("min"), band), 0, 0);
    bgl->addWidget(sldZMin, 0, 1);
    bgl->addWidget(txtZMin, 0, 2);
    bgl->addWidget(new QLabel(QStringLiteral("max"), band), 1, 0);
    bgl->addWidget(sldZMax, 1, 1);
    bgl->addWidget(txtZmax, 1, 2);
    bgl->addWidget(cmdZrangeReset, 2, 2);

    return tabPage("tabEffects", {filters, strength, band});
}

QWidget* frmTer::buildObjectsTab()
{
    auto* mask = named(new QGroupBox(QStringLiteral("Make Mask Picture for Terragen")), "fraMask");
    auto* mh = new QHBoxLayout(mask);
    Command1 = named(new QPushButton(QStringLiteral("color white"), mask), "Command1",
                     QStringLiteral("Click on setup color for Mask "));
    cmdMask = named(new QPushButton(QStringLiteral("Mask.."), mask), "cmdMask");
    mh->addWidget(Command1);
    mh->addWidget(cmdMask);

    auto* maker = named(new QGroupBox(QStringLiteral("Objects")), "fraObjects");
    auto* oh = new QHBoxLayout(maker);
    cmdObjektmaker = named(new QPushButton(QStringLiteral("ObjektMaker"), maker), "cmdObjektmaker");
    oh->addWidget(cmdObjektmaker);
    oh->addStretch(1);

    return tabPage("tabObjects", {mask, maker});
}

void frmTer::buildStatusBar()
{
    sBar = named(new QStatusBar(this), "sBar");
    static const int widths[] = {200, 110, 110, 70, 70, 120};
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(sBar);
        panel->setObjectName(QStringLiteral("sBarPanel%1").arg(i + 1));
        panel->setMinimumWidth(widths[i]);
        panel->setContentsMargins(4, 0, 4, 0);
        sBarPanels[size_t(i)] = panel;
        sBar->addPermanentWidget(panel, i == 0 ? 1 : 0);
    }
    setStatusBar(sBar);
}
