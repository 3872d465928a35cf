#include "generate/dlgFltErosion.h"

#include "generate/ParFileDialog.h"
#include "runtime/FormControls.h"
#include "runtime/QtUi.h"
#include "runtime/Ui.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

// The values the next showing starts from: kept after OK, reset by Cancel.
KVErosion::ErosionSettings g_kept;

} // namespace

dlgFltErosion::dlgFltErosion(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgFltErosion"));
    setWindowTitle(QStringLiteral("Erosion Setting"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    auto* sliders = new QWidget(this);
    new QGridLayout(sliders);
    Slider1 = addSlider(sliders, "Slider1", QStringLiteral("Drops count"), 1000, 50000, 100, 1000, 5000);
    Slider2 = addSlider(sliders, "Slider2", QStringLiteral("drops with"), 1, 20, 1, 3, 1);
    Slider3 = addSlider(sliders, "Slider3", QStringLiteral("Landslide depht"), 1, 10, 1, 3, 1);
    Slider4 = addSlider(sliders, "Slider4", QStringLiteral("Erosion"), 1, 8, 1, 1, 1);

    auto* frame = new QGroupBox(QStringLiteral("Setting"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* fl = new QGridLayout(frame);
    Command1 = rt::plainButton(frame, "Command1", QStringLiteral("save"));
    Command2 = rt::plainButton(frame, "Command2", QStringLiteral("load"));
    fl->addWidget(Command1, 0, 0);
    fl->addWidget(Command2, 0, 1);

    auto* buttons = rt::okCancelRow(this, OKButton, QStringLiteral("OK"), CancelButton, QStringLiteral("Cancel"));
    OKButton->setDefault(true);

    grid->addWidget(sliders, 0, 0);
    grid->addWidget(frame, 1, 0);
    grid->addLayout(buttons, 2, 0);

    connect(OKButton, &QPushButton::clicked, this, &dlgFltErosion::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &dlgFltErosion::CancelButton_Click);
    connect(Command1, &QPushButton::clicked, this, &dlgFltErosion::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &dlgFltErosion::Command2_Click);
    setValues(KVErosion::ErosionSettings{});
}

QSlider* dlgFltErosion::addSlider(QWidget* box, const char* name, const QString& caption, int lo, int hi, int step,
                                  int page, int tick)
{
    auto* layout = static_cast<QGridLayout*>(box->layout());
    const int row = layout->rowCount();
    // Made at its lowest value, so setting the design value shows it in the label.
    auto* s = rt::slider(box, name, lo, hi, lo, page, tick);
    s->setSingleStep(step);
    auto* value = new QLabel(box);
    connect(s, &QSlider::valueChanged, value, [value](int v) { value->setNum(v); });
    layout->addWidget(new QLabel(caption, box), row, 0);
    layout->addWidget(s, row, 1);
    layout->addWidget(value, row, 2);
    return s;
}

KVErosion::ErosionSettings dlgFltErosion::values() const
{
    return {Slider1->value(), Slider2->value(), Slider3->value(), Slider4->value()};
}

void dlgFltErosion::setValues(const KVErosion::ErosionSettings& s)
{
    Slider1->setValue(s.dropCount);
    Slider2->setValue(s.dropWith);
    Slider3->setValue(s.landslide);
    Slider4->setValue(s.depth);
}

void dlgFltErosion::OKButton_Click()
{
    Cancelled = false;
    accept();
}

void dlgFltErosion::CancelButton_Click()
{
    Cancelled = true;
    reject();
}

void dlgFltErosion::Command1_Click()
{
    // A cancelled dialog writes nothing.
    const rt::FileDialogResult r = rt::ui().saveFileDialog(parFileRequest(QStringLiteral("Save Setting")));
    if (!r.accepted || r.fileName.isEmpty()) return;
    QString error;
    if (!KVErosion::WriteErosionSettings(r.fileName, values(), &error))
        rt::MsgBox(error, rt::vbExclamation, QStringLiteral("Save Setting"));
}

void dlgFltErosion::Command2_Click()
{
    const rt::FileDialogResult r = rt::ui().openFileDialog(parFileRequest(QStringLiteral("Load Setting")));
    if (!r.accepted || r.fileName.isEmpty()) return;
    // A file with unusable values leaves the sliders as they are.
    QString error;
    const auto s = KVErosion::ReadErosionSettings(r.fileName, &error);
    if (!s) {
        rt::MsgBox(error, rt::vbExclamation, QStringLiteral("Load Setting"));
        return;
    }
    setValues(*s);
}

std::optional<KVErosion::ErosionSettings> dlgFltErosion::StartErosion()
{
    dlgFltErosion dlg(QApplication::activeWindow());
    dlg.setValues(g_kept);
    dlg.exec();
    if (dlg.Cancelled) {
        g_kept = KVErosion::ErosionSettings{};
        return std::nullopt;
    }
    g_kept = dlg.values();
    return g_kept;
}

void dlgFltErosion::install(rt::QtUi& ui)
{
    ui.erosionDialog = [] { return StartErosion(); };
}
