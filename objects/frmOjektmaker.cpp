// The object maker window (see frmOjektmaker.h).

#include "objects/frmOjektmaker.h"

#include "objects/ObjektMakerFiles.h"
#include "objects/ObjektMakerProfiles.h"
#include "objects/mdlObjects.h"
#include "runtime/Files.h"
#include "runtime/FormControls.h"
#include "runtime/Ui.h"
#include "terrain/OpenFileTypes.h"
#include "terrain/TerrainPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

using namespace ObjektMaker;

namespace {

constexpr int Border = 1;

using rt::named;
// No button is the dialog's default: Enter must not clear a profile or apply.
using rt::plainButton;

int vbButtons(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// The pen outline over the mask: a circle that lets the mouse through.
class PenOutline : public QWidget {
public:
    explicit PenOutline(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Shape1"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(Qt::red, 1));
        p.drawEllipse(rect().adjusted(0, 0, -1, -1));
    }
};

rt::FileDialogRequest dialogRequest(const char* title, const QString& filter, const char* defaultExt,
                                    const QString& fileName = QString())
{
    rt::FileDialogRequest r;
    r.title = QString::fromLatin1(title);
    r.filter = filter;
    r.filterIndex = 1;
    r.defaultExt = QString::fromLatin1(defaultExt);
    r.initDir = ObjectDirectory;
    r.fileName = fileName;
    return r;
}

// The chosen file, or nothing when the dialog was cancelled.
std::optional<QString> chosenFile(const rt::FileDialogResult& r)
{
    if (!r.accepted || r.fileName.isEmpty()) return std::nullopt;
    return r.fileName;
}

const QString SettingFilter = QStringLiteral("ObjectMaker Settings *.omd|*.omd");
const QString BitmapFilter = QStringLiteral("Bitmap|*.bmp");

} // namespace

// --- the picture box ------------------------------------------------------------------

OjektmakerPictureWidget::OjektmakerPictureWidget(const char* name, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setFixedSize(PictureSide + 2 * Border, PictureSide + 2 * Border);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_image = QImage(PictureSide, PictureSide, QImage::Format_RGB32);
    m_image.fill(Qt::white);
}

void OjektmakerPictureWidget::setImage(const QImage& image)
{
    m_image = image.convertToFormat(QImage::Format_RGB32);
    update();
}

void OjektmakerPictureWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Qt::darkGray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawImage(QPoint(Border, Border), m_image);
}

QPointF OjektmakerPictureWidget::toPicture(QPointF pos) const { return pos - QPointF(Border, Border); }

void OjektmakerPictureWidget::mousePressEvent(QMouseEvent* event)
{
    if (mouseDown) mouseDown(vbButtons(event->button()), toPicture(event->position()));
}

void OjektmakerPictureWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (mouseMove) mouseMove(vbButtons(event->buttons()), toPicture(event->position()));
}

void OjektmakerPictureWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (lostFocus) lostFocus();
}

void OjektmakerPictureWidget::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (lostFocus) lostFocus();
}

// --- layout ---------------------------------------------------------------------------

frmOjektmaker::frmOjektmaker(ObjectLoader loadObject, QWidget* parent)
    : QDialog(parent), st(objektMakerState()), m_loadObject(std::move(loadObject))
{
    if (!m_loadObject) m_loadObject = [](const QString& path) { return mdlObjects::loadObjectMaker(path); };
    setObjectName(QStringLiteral("frmOjektmaker"));
    setWindowTitle(QStringLiteral("ObjektMaker"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    buildProfilePanels(grid);
    buildMaskPanel(grid);
    buildResultPanel(grid);
    connectControls();
    Form_Load();
}

void frmOjektmaker::buildProfilePanels(QGridLayout* grid)
{
    // A profile picture with its column of buttons, made and laid out in the listed order.
    struct ButtonSpec {
        QPushButton*& target;
        const char* name;
        QString caption;
        QString toolTip = {};
    };
    auto profilePanel = [this](const QString& title, const char* groupName, OjektmakerPictureWidget*& picture,
                               const char* pictureName, std::initializer_list<ButtonSpec> specs) {
        auto* box = named(new QGroupBox(title, this), groupName);
        auto* h = new QHBoxLayout(box);
        picture = new OjektmakerPictureWidget(pictureName, box);
        h->addWidget(picture, 0, Qt::AlignTop);
        auto* buttons = new QVBoxLayout;
        h->addLayout(buttons);
        for (const ButtonSpec& b : specs) {
            b.target = plainButton(box, b.name, b.caption, b.toolTip);
            buttons->addWidget(b.target);
        }
        buttons->addStretch(1);
        return box;
    };

    auto* xBox = profilePanel(
        QStringLiteral("X-Mask"), "fraXMask", PictureX, "PictureX",
        {{cmdXCls, "cmdXCls", QStringLiteral("Clear"), QStringLiteral("cler X-mask")},
         {cmdXFull, "cmdXFull", QStringLiteral("Full"), QStringLiteral("fuel x-mask")},
         {cmdInvX, "cmdInvX", QStringLiteral("Invers X"), QStringLiteral("invert X")},
         {cmdSymX, "cmdSymX", QStringLiteral("Sym X")},
         {cmdXreflect, "cmdXreflect", QStringLiteral("reflecting  X"), QStringLiteral("reflecting x-View")},
         {cmdXfromZ, "cmdXfromZ", QStringLiteral("from Z"), QStringLiteral("load center line of the Z view")},
         {Command3[0], "Command3_0", QStringLiteral("Smooth")},
         {cmdLoadX, "cmdLoadX", QStringLiteral("load X")},
         {cmdSaveX, "cmdSaveX", QStringLiteral("Save X")}});
    auto* yBox = profilePanel(
        QStringLiteral("Y-Mask"), "fraYMask", PictureY, "PictureY",
        {{cmdYCls, "cmdYCls", QStringLiteral("Clear"), QStringLiteral("clear y-mask")},
         {cmdYFull, "cmdYFull", QStringLiteral("Full"), QStringLiteral("fuel y-mask")},
         {cmdInvY, "cmdInvY", QStringLiteral("Invers Y"), QStringLiteral("invert Y")},
         {cmdSymY, "cmdSymY", QStringLiteral("Sym Y")},
         {cmdYreflect, "cmdYreflect", QStringLiteral("reflecting Y"), QStringLiteral("reflecting Y-view")},
         {cmdYfromZ, "cmdYfromZ", QStringLiteral("from Z"), QStringLiteral("load center line of the Z view")},
         {Command3[1], "Command3_1", QStringLiteral("Smooth")},
         {cmdLoadY, "cmdLoadY", QStringLiteral("load Y")},
         {cmdSaveY, "cmdSaveY", QStringLiteral("Save Y")}});

    // Between the profiles: presets, copying and the setting files.
    auto* tools = named(new QWidget(this), "fraProfileTools");
    auto* t = new QVBoxLayout(tools);
    t->addWidget(new QLabel(QStringLiteral("Presets"), tools));
    Combo1 = named(new QComboBox(tools), "Combo1");
    Combo1->addItems(presetNames());
    Combo1->setPlaceholderText(QStringLiteral("Preset Form"));
    t->addWidget(Combo1);
    auto* presetRow = new QHBoxLayout;
    Command4[0] = plainButton(tools, "Command4_0", QStringLiteral("<"), QStringLiteral("from preset  to X"));
    Command4[1] = plainButton(tools, "Command4_1", QStringLiteral(">"), QStringLiteral("from preset to y"));
    presetRow->addWidget(Command4[0]);
    presetRow->addWidget(Command4[1]);
    t->addLayout(presetRow);
    auto* copyRow = new QHBoxLayout;
    cmdYtoX = plainButton(tools, "cmdYtoX", QStringLiteral("<-"), QStringLiteral("copy y to x"));
    cmdxtoY = plainButton(tools, "cmdxtoY", QStringLiteral("->"), QStringLiteral("copy x to y"));
    copyRow->addWidget(cmdYtoX);
    copyRow->addWidget(cmdxtoY);
    t->addLayout(copyRow);
    cmdSwap = plainButton(tools, "cmdSwap", QStringLiteral("Swap X-Y"), QStringLiteral("Swap x and Y"));
    t->addWidget(cmdSwap);
    t->addSpacing(12);
    cmdLoadSet = plainButton(tools, "cmdLoadSet", QStringLiteral("load"), QStringLiteral("load XYZ-View from a file"));
    cmdSaveSet = plainButton(tools, "cmdSaveSet", QStringLiteral("save"), QStringLiteral("Save XYZ-View in a file"));
    cmdReset = plainButton(tools, "cmdReset", QStringLiteral("Reset"), QStringLiteral("Clear all views"));
    t->addWidget(cmdLoadSet);
    t->addWidget(cmdSaveSet);
    t->addWidget(cmdReset);
    t->addStretch(1);

    grid->addWidget(xBox, 0, 0);
    grid->addWidget(tools, 0, 1);
    grid->addWidget(yBox, 0, 2);
}

void frmOjektmaker::buildMaskPanel(QGridLayout* grid)
{
    auto* box = named(new QGroupBox(QStringLiteral("Z - Mask"), this), "fraZMask");
    auto* h = new QHBoxLayout(box);
    PictureZ = new OjektmakerPictureWidget("PictureZ", box);
    PictureZ->setImage(Controls::blankMask());
    Shape1 = new PenOutline(PictureZ);
    h->addWidget(PictureZ, 0, Qt::AlignTop);

    auto* side = new QVBoxLayout;
    h->addLayout(side);
    cmbZMask = named(new QComboBox(box), "cmbZMask");
    cmbZMask->addItems({QStringLiteral("Circle"), QStringLiteral("Square"), QStringLiteral("Pyramide"),
                        QStringLiteral("Ring"), QStringLiteral("Border"), QStringLiteral("Ellipsoid"),
                        QStringLiteral("Flower"), QStringLiteral("Triangle"), QStringLiteral("Star"),
                        QStringLiteral("Flower2"), QStringLiteral("Cross")});
    cmbZMask->setPlaceholderText(QStringLiteral("Preset Form"));
    cmbZMask->setCurrentIndex(-1);
    side->addWidget(cmbZMask);

    auto sliderRow = [box, side](const QString& caption, QSlider*& slider, const char* sliderName, int hi, int value,
                                 QLabel*& label, const char* labelName, const QString& toolTip) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(caption, box));
        slider = rt::slider(box, sliderName, 0, hi, value, 10, 0, toolTip);
        row->addWidget(slider, 1);
        label = named(new QLabel(QString::number(value), box), labelName);
        label->setMinimumWidth(24);
        row->addWidget(label);
        side->addLayout(row);
    };
    sliderRow(QStringLiteral("Height"), sldHeightZ, "sldHeightZ", 255, 128, lblHeighZ, "lblHeighZ",
              QStringLiteral("Height of pen"));
    sliderRow(QStringLiteral("Pen"), Slider1, "Slider1", 128, 64, lblPenW, "lblPenW", QString());

    auto* info = named(new QGroupBox(QStringLiteral("Paint - Info"), box), "fraPaintInfo");
    auto* il = new QVBoxLayout(info);
    auto* infoText = new QLabel(QStringLiteral("left mousbutton =paint               right mousebutton =erase"), info);
    infoText->setWordWrap(true);
    il->addWidget(infoText);
    side->addWidget(info);

    cmdZCls = plainButton(box, "cmdZCls", QStringLiteral("Clear"), QStringLiteral("clear mask"));
    cmdZFull = plainButton(box, "cmdZFull", QStringLiteral("Full"), QStringLiteral("full mask"));
    cmdObjZLoad = plainButton(box, "cmdObjZLoad", QStringLiteral("Load"), QStringLiteral("load picture as Mask"));
    cmdDiffuseZ = plainButton(box, "cmdDiffuseZ", QStringLiteral("Diffuse"));
    Command2 = plainButton(box, "Command2", QStringLiteral("Smooth"));
    cmdZfromPreview = plainButton(box, "cmdZfromPreview", QStringLiteral("from Pre."), QStringLiteral("copy from preview to Z-View"));
    cmdSaveZMask = plainButton(box, "cmdSaveZMask", QStringLiteral("Save"), QStringLiteral("load Picture as mask"));
    auto* buttons = new QGridLayout;
    const std::array<QPushButton*, 7> all = {cmdZCls, cmdZFull, cmdObjZLoad, cmdDiffuseZ, Command2, cmdZfromPreview,
                                             cmdSaveZMask};
    for (int k = 0; k < int(all.size()); ++k) buttons->addWidget(all[size_t(k)], k / 2, k % 2);
    side->addLayout(buttons);
    side->addStretch(1);

    grid->addWidget(box, 1, 0, 1, 2);
}

void frmOjektmaker::buildResultPanel(QGridLayout* grid)
{
    auto* box = named(new QGroupBox(QStringLiteral("Preview"), this), "fraPreview");
    auto* h = new QHBoxLayout(box);
    auto* left = new QVBoxLayout;
    PicResult = new OjektmakerPictureWidget("PicResult", box);
    left->addWidget(PicResult);
    auto* underPicture = new QHBoxLayout;
    chk3DView = named(new QCheckBox(QStringLiteral("3D View"), box), "chk3DView", QStringLiteral("switch in 3D-view"));
    Command1 = plainButton(box, "Command1", QStringLiteral("&Save"), QStringLiteral("Save result as picture in application folder"));
    underPicture->addWidget(chk3DView);
    underPicture->addStretch(1);
    underPicture->addWidget(Command1);
    left->addLayout(underPicture);
    left->addStretch(1);
    h->addLayout(left);

    auto* side = new QVBoxLayout;
    h->addLayout(side);
    auto* modes = named(new QGroupBox(QStringLiteral("Option Result"), box), "fraOptionResult");
    auto* ml = new QVBoxLayout(modes);
    const std::array<const char*, ResultModeCount> captions = {"Add", "Multiplikation", "Min", "Max", "XOR",
                                                               "Mod", "Sub",            "OR",  "Implication"};
    for (int k = 0; k < ResultModeCount; ++k) {
        optResult[size_t(k)] = new QRadioButton(QString::fromLatin1(captions[size_t(k)]), modes);
        optResult[size_t(k)]->setObjectName(QStringLiteral("optResult_%1").arg(k));
        ml->addWidget(optResult[size_t(k)]);
    }
    side->addWidget(modes);
    chkRotationX = named(new QCheckBox(QStringLiteral("Rotation X"), box), "chkRotationX",
                         QStringLiteral("use x as rotation mask"));
    chkRotationMask = named(new QCheckBox(QStringLiteral("use Y and Z-Mask"), box), "chkRotationMask",
                            QStringLiteral("modify rotation with z and y mask"));
    chkYCross = named(new QCheckBox(QStringLiteral("Y=Cross mask"), box), "chkYCross",
                      QStringLiteral("use y as cross-mask"));
    side->addWidget(chkRotationX);
    side->addWidget(chkRotationMask);
    side->addWidget(chkYCross);
    side->addStretch(1);
    cmdPreview = plainButton(box, "cmdPreview", QStringLiteral("&Preview"));
    cmdApply = plainButton(box, "cmdApply", QStringLiteral("&Apply"), QStringLiteral("create Object and unload objectmaker"));
    cmdCancel = plainButton(box, "cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Close Objectmaker"));
    side->addWidget(cmdPreview);
    side->addWidget(cmdApply);
    side->addWidget(cmdCancel);

    grid->addWidget(box, 1, 2);
}

void frmOjektmaker::connectControls()
{
    const auto on = [this](QPushButton* b, void (frmOjektmaker::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    on(cmdXCls, &frmOjektmaker::cmdXCls_Click);
    on(cmdYCls, &frmOjektmaker::cmdYCls_Click);
    on(cmdXFull, &frmOjektmaker::cmdXFull_Click);
    on(cmdYFull, &frmOjektmaker::cmdYFull_Click);
    on(cmdInvX, &frmOjektmaker::cmdInvX_Click);
    on(cmdInvY, &frmOjektmaker::cmdInvY_Click);
    on(cmdSymX, &frmOjektmaker::cmdSymX_Click);
    on(cmdSymY, &frmOjektmaker::cmdSymY_Click);
    on(cmdXreflect, &frmOjektmaker::cmdXreflect_Click);
    on(cmdYreflect, &frmOjektmaker::cmdYreflect_Click);
    on(cmdXfromZ, &frmOjektmaker::cmdXfromZ_Click);
    on(cmdYfromZ, &frmOjektmaker::cmdYfromZ_Click);
    on(cmdYtoX, &frmOjektmaker::cmdYtoX_Click);
    on(cmdxtoY, &frmOjektmaker::cmdxtoY_Click);
    on(cmdSwap, &frmOjektmaker::cmdSwap_Click);
    on(cmdReset, &frmOjektmaker::cmdReset_Click);
    on(cmdLoadX, &frmOjektmaker::cmdLoadX_Click);
    on(cmdLoadY, &frmOjektmaker::cmdLoadY_Click);
    on(cmdSaveX, &frmOjektmaker::cmdSaveX_Click);
    on(cmdSaveY, &frmOjektmaker::cmdSaveY_Click);
    on(cmdLoadSet, &frmOjektmaker::cmdLoadSet_Click);
    on(cmdSaveSet, &frmOjektmaker::cmdSaveSet_Click);
    on(cmdPreview, &frmOjektmaker::cmdPreview_Click);
    on(cmdApply, &frmOjektmaker::cmdApply_Click);
    on(cmdCancel, &frmOjektmaker::cmdCancel_Click);
    on(cmdZCls, &frmOjektmaker::cmdZCls_Click);
    on(cmdZFull, &frmOjektmaker::cmdZFull_Click);
    on(cmdObjZLoad, &frmOjektmaker::cmdObjZLoad_Click);
    on(cmdDiffuseZ, &frmOjektmaker::cmdDiffuseZ_Click);
    on(Command2, &frmOjektmaker::Command2_Click);
    on(cmdZfromPreview, &frmOjektmaker::cmdZfromPreview_Click);
    on(cmdSaveZMask, &frmOjektmaker::cmdSaveZMask_Click);
    on(Command1, &frmOjektmaker::Command1_Click);
    for (int k = 0; k < 2; ++k) {
        connect(Command4[size_t(k)], &QPushButton::clicked, this, [this, k] { Command4_Click(k); });
        connect(Command3[size_t(k)], &QPushButton::clicked, this, [this, k] { Command3_Click(k); });
    }
    for (int k = 0; k < ResultModeCount; ++k)
        connect(optResult[size_t(k)], &QRadioButton::clicked, this, [this, k] { optResult_Click(k); });
    connect(chkRotationX, &QCheckBox::clicked, this, [this] { chkRotationX_Click(); });
    connect(cmbZMask, &QComboBox::activated, this, [this] { cmbZMask_Click(); });
    connect(sldHeightZ, &QSlider::valueChanged, this, [this] { sldHeightZ_Change(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Change(); });

    PictureX->mouseMove = [this](int b, QPointF at) { PictureX_MouseMove(b, at); };
    PictureY->mouseMove = [this](int b, QPointF at) { PictureY_MouseMove(b, at); };
    PictureZ->mouseDown = [this](int b, QPointF at) { PictureZ_MouseDown(b, at); };
    PictureZ->mouseMove = [this](int b, QPointF at) { PictureZ_MouseMove(b, at); };
    PictureZ->lostFocus = [this] { PictureZ_LostFocus(); };
}

// --- opening, state and the result ----------------------------------------------------

QString frmOjektmaker::tempSettingsPath() { return rt::writableDataPath(QStringLiteral("om_temp.dat"), false); }

QString frmOjektmaker::applyBitmapPath() { return rt::writableDataPath(QStringLiteral("applyobj.tmp"), false); }

void frmOjektmaker::Form_Load()
{
    Shape1->hide();
    Combo1->setCurrentIndex(0);
    if (st.RotationX == 1) chkRotationX_Click();
    enableRotationOptions();
    // A damaged state file is passed over quietly: the window opens as if it were missing.
    Controls c = controls();
    if (LoadObjektMaker(tempSettingsPath(), st, c, LoadReport::Quiet) == LoadResult::Loaded) showControls(c);
    // The buttons show the mode Preview will use, with or without the file.
    if (st.ResultMode >= 0 && st.ResultMode < ResultModeCount) optResult[size_t(st.ResultMode)]->setChecked(true);
    redrawProfiles();
    cmdPreview_Click();
    sldHeightZ->setValue(128);
    lblHeighZ->setText(QStringLiteral("128"));
    st.PenWidth = penWidthFromSlider(Slider1->value());
}

Controls frmOjektmaker::controls() const
{
    Controls c;
    c.View3D = chk3DView->isChecked() ? 1 : 0;
    c.RotationX = chkRotationX->isChecked() ? 1 : 0;
    c.RotationMask = chkRotationMask->isChecked() ? 1 : 0;
    c.YCross = chkYCross->isChecked() ? 1 : 0;
    c.Mask = PictureZ->image();
    return c;
}

void frmOjektmaker::showControls(const Controls& c)
{
    chk3DView->setChecked(c.View3D != 0);
    chkRotationX->setChecked(c.RotationX != 0);
    chkRotationMask->setChecked(c.RotationMask != 0);
    chkYCross->setChecked(c.YCross != 0);
    enableRotationOptions();
    setMask(c.Mask);
    if (st.ResultMode >= 0 && st.ResultMode < ResultModeCount) optResult[size_t(st.ResultMode)]->setChecked(true);
    redrawProfiles();
}

void frmOjektmaker::enableRotationOptions()
{
    chkRotationMask->setEnabled(st.RotationX != 0);
    chkYCross->setEnabled(st.RotationX != 0);
}

void frmOjektmaker::redrawProfiles()
{
    PictureX->setImage(drawProfile(st.XProfile));
    PictureY->setImage(drawProfile(st.YProfile));
}

void frmOjektmaker::setMask(const QImage& mask) { PictureZ->setImage(mask); }

void frmOjektmaker::cmdPreview_Click()
{
    const Controls c = controls();
    PicResult->setImage(ObjektMaker::cmdPreview(st, c));
    m_resultIs3D = c.View3D != 0;
}

void frmOjektmaker::DrawResult()
{
    const bool view3D = chk3DView->isChecked();
    PicResult->setImage(ObjektMaker::DrawResult(st.ObjectGrid, view3D));
    m_resultIs3D = view3D;
}

void frmOjektmaker::showGreyResult()
{
    chk3DView->setChecked(false);
    if (m_resultIs3D) DrawResult();
}

void frmOjektmaker::optResult_Click(int index) { st.ResultMode = int16_t(index); }

void frmOjektmaker::chkRotationX_Click()
{
    setRotationX(st, chkRotationX->isChecked() ? 1 : 0);
    if (st.RotationX != 0) PictureX->setImage(drawProfile(st.XProfile));
    enableRotationOptions();
}

void frmOjektmaker::cmdApply_Click()
{
    st.SavedView3D = chk3DView->isChecked() ? 1 : 0;
    showGreyResult();
    if (st.MaskChanged) {
        const int answer = rt::MsgBox(QStringLiteral("Mask change! Make new result?"), rt::vbYesNoCancel,
                                      QStringLiteral("Apply"));
        if (answer == rt::vbCancel) return;
        if (answer == rt::vbYes) cmdPreview_Click();
    }

    // The hand-over bitmap never outlives the command, whatever way it ends.
    const QString bitmap = applyBitmapPath();
    struct RemoveOnExit {
        QString path;
        ~RemoveOnExit() { QFile::remove(path); }
    } removeBitmap{bitmap};
    const QString applyTitle = QStringLiteral("Apply");
    if (!savePictureFile(bitmap, PicResult->image(), applyTitle)) return;
    // The state for the next opening is written before the object is placed,
    // so a failed write leaves the window open without a half-done Apply.
    if (!saveObjektMaker(tempSettingsPath(), st, controls(), applyTitle)) return;
    m_loadObject(bitmap);
    accept();
}

void frmOjektmaker::cmdCancel_Click() { reject(); }

// --- profiles -------------------------------------------------------------------------

// The X and Y buttons do the same, each to its own profile and picture.

void frmOjektmaker::clearProfileSide(Profile& profile, OjektmakerPictureWidget* picture)
{
    clearProfile(profile);
    QImage blank(PictureSide, PictureSide, QImage::Format_RGB32);
    blank.fill(ProfileBackground);
    picture->setImage(blank);
    st.MaskChanged = true;
}

void frmOjektmaker::fillProfileSide(Profile& profile, OjektmakerPictureWidget* picture)
{
    fillProfile(profile);
    picture->setImage(drawProfile(profile));
    st.MaskChanged = true;
}

void frmOjektmaker::copyProfileSide(const Profile& from, const OjektmakerPictureWidget* fromPicture, Profile& to,
                                    OjektmakerPictureWidget* toPicture)
{
    for (int i = 0; i <= 256; ++i) to[size_t(i)] = from[size_t(i)];
    toPicture->setImage(fromPicture->image());
    st.MaskChanged = true;
}

void frmOjektmaker::drawOnProfile(Profile& profile, OjektmakerPictureWidget* picture, int button, QPointF at,
                                  bool mirrored)
{
    if (button == 1) {
        const DrawnColumns cols = drawProfileAt(profile, at.x(), at.y(), mirrored);
        QImage pic = picture->image();
        drawProfileColumn(pic, profile, cols.first);
        if (cols.second >= 0) drawProfileColumn(pic, profile, cols.second);
        picture->setImage(pic);
    }
    // Any movement over a profile marks the result as out of date.
    st.MaskChanged = true;
}

void frmOjektmaker::cmdXCls_Click() { clearProfileSide(st.XProfile, PictureX); }

void frmOjektmaker::cmdYCls_Click() { clearProfileSide(st.YProfile, PictureY); }

void frmOjektmaker::cmdXFull_Click() { fillProfileSide(st.XProfile, PictureX); }

void frmOjektmaker::cmdYFull_Click() { fillProfileSide(st.YProfile, PictureY); }

void frmOjektmaker::cmdInvX_Click()
{
    invertProfile(st.XProfile);
    PictureX->setImage(drawProfile(st.XProfile, 256));
}

void frmOjektmaker::cmdInvY_Click()
{
    invertProfile(st.YProfile);
    PictureY->setImage(drawProfile(st.YProfile, 256));
}

void frmOjektmaker::cmdSymX_Click()
{
    symmetricProfile(st.XProfile);
    PictureX->setImage(drawProfile(st.XProfile));
}

void frmOjektmaker::cmdSymY_Click()
{
    symmetricProfile(st.YProfile);
    PictureY->setImage(drawProfile(st.YProfile));
}

void frmOjektmaker::cmdXreflect_Click()
{
    reflectProfile(st.XProfile);
    PictureX->setImage(drawProfile(st.XProfile));
}

void frmOjektmaker::cmdYreflect_Click()
{
    reflectProfile(st.YProfile);
    PictureY->setImage(drawProfile(st.YProfile));
}

void frmOjektmaker::cmdXfromZ_Click()
{
    profileFromMaskRow(st.XProfile, PictureZ->image());
    PictureX->setImage(drawProfile(st.XProfile));
}

void frmOjektmaker::cmdYfromZ_Click()
{
    profileFromMaskColumn(st.YProfile, PictureZ->image());
    PictureY->setImage(drawProfile(st.YProfile));
}

void frmOjektmaker::cmdYtoX_Click() { copyProfileSide(st.YProfile, PictureY, st.XProfile, PictureX); }

void frmOjektmaker::cmdxtoY_Click() { copyProfileSide(st.XProfile, PictureX, st.YProfile, PictureY); }

void frmOjektmaker::cmdSwap_Click()
{
    swapProfiles(st.XProfile, st.YProfile);
    redrawProfiles();
}

void frmOjektmaker::Command4_Click(int index)
{
    // The first list entry is preset 1; nothing chosen is no preset and only redraws.
    const int preset = Combo1->currentIndex() + 1;
    Profile& p = index == 0 ? st.XProfile : st.YProfile;
    GenerateProfile(preset, p);
    (index == 0 ? PictureX : PictureY)->setImage(drawProfile(p));
}

void frmOjektmaker::Command3_Click(int index)
{
    Profile& p = index == 0 ? st.XProfile : st.YProfile;
    GenerateProfile(SmoothPreset, p);
    (index == 0 ? PictureX : PictureY)->setImage(drawProfile(p));
}

void frmOjektmaker::cmdReset_Click()
{
    cmdXCls_Click();
    cmdYCls_Click();
    cmdZCls_Click();
    cmdPreview_Click();
    optResult[0]->setChecked(true);
    optResult_Click(0);
}

// With rotation on, a stroke on X also draws its mirror column.
void frmOjektmaker::PictureX_MouseMove(int button, QPointF at)
{
    drawOnProfile(st.XProfile, PictureX, button, at, st.RotationX == 1);
}

void frmOjektmaker::PictureY_MouseMove(int button, QPointF at)
{
    drawOnProfile(st.YProfile, PictureY, button, at, false);
}

// --- files ----------------------------------------------------------------------------

void frmOjektmaker::cmdSaveSet_Click()
{
    const auto file = chosenFile(
        rt::ui().saveFileDialog(dialogRequest(SettingsSaveTitle, SettingFilter, "omd", m_lastSettingFile)));
    if (!file) return;
    m_lastSettingFile = *file;
    st.SavedView3D = chk3DView->isChecked() ? 1 : 0;
    saveObjektMaker(*file, st, controls());
}

void frmOjektmaker::cmdLoadSet_Click()
{
    const auto file = chosenFile(rt::ui().openFileDialog(dialogRequest(SettingsLoadTitle, SettingFilter, "omd")));
    if (!file) return;
    m_lastSettingFile = *file;
    Controls c = controls();
    if (LoadObjektMaker(*file, st, c, LoadReport::Message) != LoadResult::Loaded) return;
    showControls(c);
    cmdPreview_Click();
}

namespace {

void saveProfileAs(const char* title, const Profile& profile)
{
    const auto file =
        chosenFile(rt::ui().saveFileDialog(dialogRequest(title, QStringLiteral("Objects Settings|*.obs"), "obs")));
    if (file) saveProfileFile(*file, profile, QString::fromLatin1(title));
}

void loadProfileInto(Profile& profile, OjektmakerPictureWidget* picture)
{
    const auto file = chosenFile(
        rt::ui().openFileDialog(dialogRequest(ProfileLoadTitle, QStringLiteral("Objects Setting |*.obs"), "obs")));
    if (file && loadProfileFile(*file, profile)) picture->setImage(drawProfile(profile));
}

} // namespace

void frmOjektmaker::cmdSaveX_Click() { saveProfileAs(ProfileSaveXTitle, st.XProfile); }

void frmOjektmaker::cmdSaveY_Click() { saveProfileAs(ProfileSaveYTitle, st.YProfile); }

void frmOjektmaker::cmdLoadX_Click() { loadProfileInto(st.XProfile, PictureX); }

void frmOjektmaker::cmdLoadY_Click() { loadProfileInto(st.YProfile, PictureY); }

// --- the Z mask -----------------------------------------------------------------------

void frmOjektmaker::cmbZMask_Click()
{
    QImage mask = PictureZ->image();
    drawMaskShape(mask, cmbZMask->currentIndex() + 1);
    setMask(mask);
}

void frmOjektmaker::PictureZ_MouseDown(int button, QPointF at)
{
    const double x = std::min(std::max(at.x(), 0.0), 256.0);
    const double y = std::min(std::max(at.y(), 0.0), 256.0);
    const int g = penGrey(sldHeightZ->value());
    const double half = st.PenWidth / 2.0;
    Shape1->setGeometry(int(std::lround(x - half)) + Border, int(std::lround(y - half)) + Border,
                        std::max<int>(st.PenWidth, 1), std::max<int>(st.PenWidth, 1));
    Shape1->show();
    if (button == 1 || button == 2) {
        QImage mask = PictureZ->image();
        paintMaskDot(mask, x, y, st.PenWidth, button == 1 ? g : 0);
        setMask(mask);
    }
    st.MaskChanged = true;
}

void frmOjektmaker::PictureZ_MouseMove(int button, QPointF at) { PictureZ_MouseDown(button, at); }

void frmOjektmaker::PictureZ_LostFocus() { Shape1->hide(); }

void frmOjektmaker::sldHeightZ_Change() { lblHeighZ->setText(QString::number(255 - sldHeightZ->value())); }

void frmOjektmaker::Slider1_Change()
{
    st.PenWidth = penWidthFromSlider(Slider1->value());
    lblPenW->setText(QString::number(st.PenWidth));
}

void frmOjektmaker::cmdZCls_Click()
{
    setMask(Controls::blankMask());
    st.MaskChanged = true;
}

void frmOjektmaker::cmdZFull_Click()
{
    QImage mask = PictureZ->image();
    fillMask(mask);
    setMask(mask);
    st.MaskChanged = true;
}

void frmOjektmaker::cmdObjZLoad_Click()
{
    const QString filter = OpenFileTypes::filter(OpenFileTypes::Dialog::MaskLoad);
    const auto file = chosenFile(rt::ui().openFileDialog(dialogRequest(ProfileLoadTitle, filter, "bmp")));
    if (!file) return;
    // Busy while the picture is read and filtered: the filters pump events.
    rt::BusyGuard busy;
    // The shared reader also draws the metafiles the dialog offers.
    QString readError;
    const QImage picture = LoadPicture(*file, &readError);
    const QImage mask = maskFromPicture(picture);
    if (mask.isNull()) {
        const QString why = picture.isNull() ? readError
                                             : QStringLiteral("The picture could not be turned into grey.");
        rt::MsgBox(QStringLiteral("%1 cannot be used as mask:\n%2").arg(*file, why), rt::vbExclamation,
                   QString::fromLatin1(ProfileLoadTitle));
        return;
    }
    setMask(mask);
}

void frmOjektmaker::cmdDiffuseZ_Click()
{
    rt::BusyGuard busy;
    QImage mask = PictureZ->image();
    if (diffuseMask(mask)) setMask(mask);
}

void frmOjektmaker::Command2_Click()
{
    rt::BusyGuard busy;
    QImage mask = PictureZ->image();
    if (smoothMask(mask)) setMask(mask);
}

void frmOjektmaker::cmdZfromPreview_Click()
{
    const bool was3D = chk3DView->isChecked();
    showGreyResult();
    setMask(PicResult->image());
    if (was3D) {
        chk3DView->setChecked(true);
        DrawResult();
    }
}

void frmOjektmaker::cmdSaveZMask_Click()
{
    const auto file = chosenFile(
        rt::ui().saveFileDialog(dialogRequest(MaskSaveTitle, BitmapFilter, "bmp", m_lastBitmapFile)));
    if (!file) return;
    m_lastBitmapFile = *file;
    savePictureFile(*file, PictureZ->image(), QString::fromLatin1(MaskSaveTitle));
}

void frmOjektmaker::Command1_Click()
{
    const auto file = chosenFile(
        rt::ui().saveFileDialog(dialogRequest(ResultSaveTitle, BitmapFilter, "bmp", m_lastBitmapFile)));
    if (!file) return;
    m_lastBitmapFile = *file;
    showGreyResult();
    savePictureFile(*file, PicResult->image(), QString::fromLatin1(ResultSaveTitle));
}

// --- the main window's button ---------------------------------------------------------

void installObjektmakerButton(QWidget* mainWindow, QPushButton* cmdObjektmaker, frmOjektmaker::ObjectLoader loadObject)
{
    cmdObjektmaker->setEnabled(true);
    QObject::connect(cmdObjektmaker, &QPushButton::clicked, mainWindow, [mainWindow, loadObject] {
        frmOjektmaker window(loadObject, mainWindow);
        window.exec();
    });
}
