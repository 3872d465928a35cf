#include "objects/dlgObjectsProperties.h"

#include "runtime/FormControls.h"
#include "runtime/Numbers.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cmath>

namespace {
// Digits, one decimal comma or point and a minus pass, as the numeric key test lets them.
QLineEdit* numberBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*[.,]?[0-9]*")), box));
    return box;
}

// Val reads a decimal point; the comma typed in the box means the same.
double boxValue(const QLineEdit* box) { return rt::Val(QString(box->text()).replace(QLatin1Char(','), QLatin1Char('.'))); }

QWidget* withUnit(QLineEdit* box, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(box);
    h->addWidget(new QLabel(QStringLiteral("m"), row));
    return row;
}
} // namespace

dlgObjectsProperties::dlgObjectsProperties(ObjectRecord& record, const clsTerrain& terrain, QWidget* parent)
    : QDialog(parent), m_record(record), m_terrain(terrain)
{
    setObjectName(QStringLiteral("dlgObjectsProperties"));
    setWindowTitle(QStringLiteral("Objects Properties"));
    auto* v = new QVBoxLayout(this);

    auto* dims = new QGroupBox(QStringLiteral("Dimensions"), this);
    auto* df = new QFormLayout(dims);
    Text1 = numberBox("Text1", dims);
    Text2 = numberBox("Text2", dims);
    Text3 = numberBox("Text3", dims);
    Text6 = numberBox("Text6", dims);
    df->addRow(QStringLiteral("X-Spreads"), withUnit(Text1, dims));
    df->addRow(QStringLiteral("Y-Spreads"), withUnit(Text2, dims));
    df->addRow(QStringLiteral("height maximally   H1"), withUnit(Text3, dims));
    df->addRow(QStringLiteral("height over Terrain  H2"), withUnit(Text6, dims));
    v->addWidget(dims);

    auto* adj = new QGroupBox(QStringLiteral("Adjustment"), this);
    auto* af = new QFormLayout(adj);
    Text4 = numberBox("Text4", adj);
    Text5 = numberBox("Text5", adj);
    txtObjectName = new QLineEdit(adj);
    txtObjectName->setObjectName(QStringLiteral("txtObjectName"));
    af->addRow(QStringLiteral("X-Pos"), Text4);
    af->addRow(QStringLiteral("Y-Pos"), Text5);
    af->addRow(QStringLiteral("Object Name"), txtObjectName);
    v->addWidget(adj);

    auto* modes = new QGroupBox(QStringLiteral("Mask options"), this);
    auto* mv = new QVBoxLayout(modes);
    const std::array<const char*, 7> captions = {"Add",  "Subtracting", "Multiplying", "Dividing", "Putting on Terrain",
                                                 "highest", "lowest"};
    for (size_t i = 0; i < Option1.size(); ++i) {
        Option1[i] = new QRadioButton(QString::fromLatin1(captions[i]), modes);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        mv->addWidget(Option1[i]);
        connect(Option1[i], &QRadioButton::toggled, this, [this] { Option1_Click(); });
    }
    v->addWidget(modes);

    auto* info = new QGroupBox(QStringLiteral("info"), this);
    auto* iv = new QVBoxLayout(info);
    iv->addWidget(new QLabel(QStringLiteral("H1 = Object Height"), info));
    iv->addWidget(new QLabel(QStringLiteral("H2 = Height over Terrain "), info));
    v->addWidget(info);

    v->addLayout(rt::okCancelRow(this, OKButton, QStringLiteral("&OK"), CancelButton, QStringLiteral("&Cancel")));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });

    Form_Load();
}

void dlgObjectsProperties::Form_Load()
{
    const double scale = m_terrain.ScaleT();
    Text1->setText(rt::Str(m_record.XSpread * scale).trimmed());
    Text2->setText(rt::Str(m_record.YSpread * scale).trimmed());
    Text3->setText(rt::Str(m_terrain.getPixel2Meters(float(m_record.H1))).trimmed());
    Text6->setText(rt::Str(m_terrain.getPixel2Meters(float(m_record.H2))).trimmed());
    Text4->setText(rt::Str(rt::Int(m_record.X * scale)).trimmed());
    Text5->setText(rt::Str(rt::Int(m_record.Y * scale)).trimmed());
    txtObjectName->setText(m_record.Name);
    const int mode = m_record.Mode >= 0 && m_record.Mode < int(Option1.size()) ? m_record.Mode : 0;
    Option1[size_t(mode)]->setChecked(true);
    Option1_Click();
}

void dlgObjectsProperties::Option1_Click()
{
    Text6->setEnabled(Option1[ModePutOnTerrain]->isChecked());
}

void dlgObjectsProperties::OKButton_Click()
{
    const double scale = m_terrain.ScaleT();
    // A spacing of 0 would make every position infinite: keep the old values then.
    if (scale > 0) {
        m_record.X = boxValue(Text4) / scale;
        m_record.Y = boxValue(Text5) / scale;
        m_record.XSpread = boxValue(Text1) / scale;
        m_record.YSpread = boxValue(Text2) / scale;
    }
    m_record.H1 = m_terrain.getMeter2Pixel(float(boxValue(Text3)));
    m_record.Name = txtObjectName->text();
    for (size_t i = 0; i < Option1.size(); ++i)
        if (Option1[i]->isChecked()) m_record.Mode = int16_t(i);
    m_record.H2 = rt::CLng(m_terrain.getMeter2Pixel(float(boxValue(Text6))));
    accept();
}

void dlgObjectsProperties::CancelButton_Click() { reject(); }
