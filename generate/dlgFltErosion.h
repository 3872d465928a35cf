#pragma once
// "Erosion Setting": the four droplet-erosion settings, with saving and
// loading of erosion settings files.

#include "generate/KVErosion.h"

#include <QDialog>

#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace rt {
class QtUi;
}

class dlgFltErosion : public QDialog {
public:
    explicit dlgFltErosion(QWidget* parent = nullptr);

    QSlider* Slider1 = nullptr;  // "Drops count"
    QSlider* Slider2 = nullptr;  // "drops with"
    QSlider* Slider3 = nullptr;  // "Landslide depht"
    QSlider* Slider4 = nullptr;  // "Erosion"
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* Command1 = nullptr;  // "save"
    QPushButton* Command2 = nullptr;  // "load"

    // True after Cancel (or closing the window), false after OK.
    bool Cancelled = true;

    KVErosion::ErosionSettings values() const;
    void setValues(const KVErosion::ErosionSettings& s);

    void OKButton_Click();
    void CancelButton_Click();
    void Command1_Click();
    void Command2_Click();

    // Shows the dialog modally: the settings after OK, nullopt after Cancel.
    // OK keeps the values for the next showing in this run; Cancel brings
    // back the design values.
    static std::optional<KVErosion::ErosionSettings> StartErosion();

    // Makes the service's erosion question show this dialog.
    static void install(rt::QtUi& ui);

private:
    QSlider* addSlider(QWidget* box, const char* name, const QString& caption, int lo, int hi, int step, int page,
                       int tick);
};
