#pragma once
// frmOjektmaker, "ObjektMaker": the user draws an X and a Y profile and a grey
// Z mask, combines them into a height picture and hands it to the main window
// as a new placed object. The model (objects/ObjektMaker*.h) holds the state
// that lives between openings; the window holds the controls, which start
// from their designed values at every opening.

#include "objects/ObjektMaker.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

// A 256 x 256 picture box with pixel scale: shows its picture inside a
// one-pixel border and reports the mouse in picture pixels.
class OjektmakerPictureWidget : public QWidget {
public:
    explicit OjektmakerPictureWidget(const char* name, QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

    // VB button numbers: 1 left, 2 right, 4 middle, added up for a move.
    std::function<void(int button, QPointF at)> mouseDown;
    std::function<void(int button, QPointF at)> mouseMove;
    std::function<void()> lostFocus;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPointF toPicture(QPointF pos) const;
    QImage m_image;
};

class frmOjektmaker : public QDialog {
public:
    // Hands the result bitmap to the main window; the slot of the new object.
    using ObjectLoader = std::function<std::optional<int>(const QString& bitmapPath)>;

    explicit frmOjektmaker(ObjectLoader loadObject = {}, QWidget* parent = nullptr);

    // Where Apply leaves its state for the next opening, and its hand-over bitmap.
    static QString tempSettingsPath();
    static QString applyBitmapPath();

    void Form_Load();

    // Result (Apply, Cancel, Preview).
    void cmdPreview_Click();
    void DrawResult();
    void cmdApply_Click();
    void cmdCancel_Click();
    void optResult_Click(int index);
    void chkRotationX_Click();

    // Profiles.
    void cmdXCls_Click();
    void cmdYCls_Click();
    void cmdXFull_Click();
    void cmdYFull_Click();
    void cmdInvX_Click();
    void cmdInvY_Click();
    void cmdSymX_Click();
    void cmdSymY_Click();
    void cmdXreflect_Click();
    void cmdYreflect_Click();
    void cmdXfromZ_Click();
    void cmdYfromZ_Click();
    void cmdYtoX_Click();
    void cmdxtoY_Click();
    void cmdSwap_Click();
    void Command4_Click(int index);
    void Command3_Click(int index);
    void cmdReset_Click();
    void PictureX_MouseMove(int button, QPointF at);
    void PictureY_MouseMove(int button, QPointF at);

    // Files.
    void cmdSaveSet_Click();
    void cmdLoadSet_Click();
    void cmdSaveX_Click();
    void cmdSaveY_Click();
    void cmdLoadX_Click();
    void cmdLoadY_Click();

    // Z mask and the bitmap exports.
    void cmbZMask_Click();
    void PictureZ_MouseDown(int button, QPointF at);
    void PictureZ_MouseMove(int button, QPointF at);
    void PictureZ_LostFocus();
    void sldHeightZ_Change();
    void Slider1_Change();
    void cmdZCls_Click();
    void cmdZFull_Click();
    void cmdObjZLoad_Click();
    void cmdDiffuseZ_Click();
    void Command2_Click();
    void cmdZfromPreview_Click();
    void cmdSaveZMask_Click();
    void Command1_Click();

    OjektmakerPictureWidget* PictureX = nullptr;
    OjektmakerPictureWidget* PictureY = nullptr;
    OjektmakerPictureWidget* PictureZ = nullptr;
    OjektmakerPictureWidget* PicResult = nullptr;
    QWidget* Shape1 = nullptr;

    QPushButton* cmdXCls = nullptr;
    QPushButton* cmdYCls = nullptr;
    QPushButton* cmdXFull = nullptr;
    QPushButton* cmdYFull = nullptr;
    QPushButton* cmdInvX = nullptr;
    QPushButton* cmdInvY = nullptr;
    QPushButton* cmdSymX = nullptr;
    QPushButton* cmdSymY = nullptr;
    QPushButton* cmdXreflect = nullptr;
    QPushButton* cmdYreflect = nullptr;
    QPushButton* cmdXfromZ = nullptr;
    QPushButton* cmdYfromZ = nullptr;
    QPushButton* cmdYtoX = nullptr;
    QPushButton* cmdxtoY = nullptr;
    QPushButton* cmdSwap = nullptr;
    QComboBox* Combo1 = nullptr;
    std::array<QPushButton*, 2> Command4 = {};
    std::array<QPushButton*, 2> Command3 = {};
    QPushButton* cmdLoadX = nullptr;
    QPushButton* cmdLoadY = nullptr;
    QPushButton* cmdSaveX = nullptr;
    QPushButton* cmdSaveY = nullptr;
    QPushButton* cmdLoadSet = nullptr;
    QPushButton* cmdSaveSet = nullptr;
    QPushButton* cmdReset = nullptr;
    QCheckBox* chkRotationX = nullptr;
    QCheckBox* chkRotationMask = nullptr;
    QCheckBox* chkYCross = nullptr;
    QCheckBox* chk3DView = nullptr;
    std::array<QRadioButton*, ObjektMaker::ResultModeCount> optResult = {};
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;

    QComboBox* cmbZMask = nullptr;
    QSlider* sldHeightZ = nullptr;
    QLabel* lblHeighZ = nullptr;
    QSlider* Slider1 = nullptr;
    QLabel* lblPenW = nullptr;
    QPushButton* cmdZCls = nullptr;
    QPushButton* cmdZFull = nullptr;
    QPushButton* cmdObjZLoad = nullptr;
    QPushButton* cmdDiffuseZ = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* cmdZfromPreview = nullptr;
    QPushButton* cmdSaveZMask = nullptr;
    QPushButton* Command1 = nullptr;

private:
    void buildProfilePanels(QGridLayout* grid);
    void buildMaskPanel(QGridLayout* grid);
    void buildResultPanel(QGridLayout* grid);
    void connectControls();

    // The controls' values as the model reads them, and back after a file.
    ObjektMaker::Controls controls() const;
    void showControls(const ObjektMaker::Controls& c);
    void enableRotationOptions();
    void redrawProfiles();
    void setMask(const QImage& mask);
    // What the X and Y buttons share, done to one profile and its picture.
    void clearProfileSide(ObjektMaker::Profile& profile, OjektmakerPictureWidget* picture);
    void fillProfileSide(ObjektMaker::Profile& profile, OjektmakerPictureWidget* picture);
    void copyProfileSide(const ObjektMaker::Profile& from, const OjektmakerPictureWidget* fromPicture,
                         ObjektMaker::Profile& to, OjektmakerPictureWidget* toPicture);
    void drawOnProfile(ObjektMaker::Profile& profile, OjektmakerPictureWidget* picture, int button, QPointF at,
                       bool mirrored);
    // Makes PicResult show the grey 2-D result (unticking "3D View"), so what
    // is handed over, saved or copied is never the 3-D drawing.
    void showGreyResult();

    ObjektMaker::State& st;
    ObjectLoader m_loadObject;
    bool m_resultIs3D = false;        // PicResult shows the 3-D drawing
    QString m_lastSettingFile;        // the setting dialogs propose only setting files
    QString m_lastBitmapFile;         // the bitmap exports only bitmaps
};

// Opens the object maker from the Objects tab's button; Apply's object goes
// through loadObject.
void installObjektmakerButton(QWidget* mainWindow, QPushButton* cmdObjektmaker,
                              frmOjektmaker::ObjectLoader loadObject);
