#pragma once
// "Objects Properties": one placed object's record in metres.

#include "objects/mdlObjects.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

class dlgObjectsProperties : public QDialog {
public:
    dlgObjectsProperties(ObjectRecord& record, const clsTerrain& terrain, QWidget* parent = nullptr);

    void Form_Load();
    void Option1_Click();
    void OKButton_Click();
    void CancelButton_Click();

    QLineEdit* Text1 = nullptr;  // X-Spreads
    QLineEdit* Text2 = nullptr;  // Y-Spreads
    QLineEdit* Text3 = nullptr;  // H1
    QLineEdit* Text4 = nullptr;  // X-Pos
    QLineEdit* Text5 = nullptr;  // Y-Pos
    QLineEdit* Text6 = nullptr;  // H2
    QLineEdit* txtObjectName = nullptr;
    std::array<QRadioButton*, 7> Option1 = {};
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    ObjectRecord& m_record;
    const clsTerrain& m_terrain;
};
