#pragma once
// "3dView": the current terrain sampled to 129 x 129 heights and drawn as an
// axonometric picture that can be re-sampled, turned by 180 degrees and filled
// in one of five colours.

#include "terrain/clsTerrain.h"

#include <QDialog>
#include <QImage>
#include <QRgb>

class QLabel;
class QPushButton;

class view3D : public QDialog {
    Q_OBJECT
public:
    explicit view3D(QWidget* parent = nullptr);

    // Samples and draws the current terrain (the window's start).
    void Form_Load();
    void zeichne();
    void ZeichneTerrain();
    void cmdRechts_Click();
    void cmdlinks_Click() { zeichne(); }
    void swatch_Click(int index);  // index 1..5

    const QImage& picture() const { return m_picture; }

    double SampleStep = 0.0;
    QRgb FillColour;
    QRgb LineColour;
    HeightArray Heights;

    QLabel* Picture1 = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdlinks = nullptr;
    QPushButton* cmdRechts = nullptr;
    QLabel* Labels[5] = {};

    // The picture's size in pixels; room for the 128-cell rhombus and heights.
    static constexpr int PictureWidth = 520;
    static constexpr int PictureHeight = 400;

    // Loads (samples and draws) before the window shows.
    void setVisible(bool visible) override;

private:
    void showPicture();
    QImage m_picture;
    bool m_loaded = false;
};

// The fill colour of swatch Label1..Label5.
QRgb view3DSwatchColour(int index);
