#include "app/dlgMaskColor.h"

#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace MaskPicture {

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

// red + 256 green + 65536 blue
int64_t colourNumber(QRgb c)
{
    return int64_t(qRed(c)) + 256 * int64_t(qGreen(c)) + 65536 * int64_t(qBlue(c));
}

bool pointIsWhite(Rule rule, int64_t c, int32_t h, int32_t from, int32_t to)
{
    switch (rule) {
    case Rule::White: return c > colourNumber(qRgb(250, 250, 250)) || h > 32760;
    case Rule::Black: return c >= 5 && h >= -32760;
    case Rule::Range: return from < h && h < to;
    }
    return false;
}

} // namespace

QImage makeMask(const clsTerrain& ter, const QImage& view, Rule rule, int32_t from, int32_t to,
                const std::function<void(int)>& progress)
{
    const int width = std::max<int>(ter.XPoints(), 0);
    const int height = std::max<int>(ter.YPoints(), 0);
    QImage mask(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        if (progress) progress(100 * y / height);
        const bool viewRow = y < view.height();
        const auto* colours = viewRow ? reinterpret_cast<const QRgb*>(view.constScanLine(y)) : nullptr;
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int64_t c = (viewRow && x < view.width()) ? colourNumber(colours[x]) : 0;
            out[x] = pointIsWhite(rule, c, ter.GetPoint(x, y), from, to) ? White : Black;
        }
    }
    return mask;
}

} // namespace MaskPicture

namespace {

QSlider* heightSlider(QWidget* parent, const char* name, int value)
{
    auto* s = rt::slider(parent, name, -32768, 32768, value, 2048, 0);
    s->setSingleStep(256);
    return s;
}

QLabel* namedLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* l = rt::named(new QLabel(text, parent), name);
    l->setWordWrap(true);
    return l;
}

} // namespace

dlgMaskColor::dlgMaskColor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgMaskColor"));
    setWindowTitle(QStringLiteral("Mask Picture"));

    auto* choice = new QButtonGroup(this);
    const QString captions[3] = {QStringLiteral("white"), QStringLiteral("black"), QStringLiteral("Range ...")};
    for (int k = 0; k < 3; ++k) {
        optColorMask[size_t(k)] = new QRadioButton(captions[k], this);
        optColorMask[size_t(k)]->setObjectName(QStringLiteral("optColorMask%1").arg(k));
        choice->addButton(optColorMask[size_t(k)], k);
    }
    optColorMask[0]->setChecked(true);

    sldFrom = heightSlider(this, "sldFrom", -32768);
    sldTo = heightSlider(this, "sldTo", 32768);
    txtFrom = new QLineEdit(this);
    txtFrom->setObjectName(QStringLiteral("txtFrom"));
    txtTo = new QLineEdit(this);
    txtTo->setObjectName(QStringLiteral("txtTo"));
    // The boxes only show the sliders in metres; typing there would mean nothing.
    for (auto* t : {txtFrom, txtTo}) {
        t->setReadOnly(true);
        t->setMaximumWidth(90);
    }
    pcColor = namedLabel(QString(), "pcColor", this);
    mPicture = namedLabel(QString(), "mPicture", this);
    mPicture->setFixedSize(257, 257);
    mPicture->setFrameShape(QFrame::Box);
    mPicture->setAlignment(Qt::AlignCenter);

    // Start, Save and Exit; Enter runs none of them.
    auto* buttons = rt::okCancelRow(this, OKButton, QStringLiteral("Sta&rt"), CancelButton, QStringLiteral("&Exit"));
    OKButton->setToolTip(QStringLiteral("make the Mask of the  selected parameters"));
    for (QPushButton* b : {OKButton, CancelButton}) b->setAutoDefault(false);
    cmdSave = rt::plainButton(this, "cmdSave", QStringLiteral("&Save"));
    buttons->insertWidget(buttons->indexOf(CancelButton), cmdSave);

    auto* grid = new QGridLayout;
    grid->addWidget(namedLabel(QStringLiteral("which colour shall be disguised?"), "Label1", this), 0, 0, 1, 3);
    grid->addWidget(optColorMask[0], 1, 0);
    grid->addWidget(namedLabel(QStringLiteral("Points, which one aren't white all be coloured black."), "Label2", this),
                    1, 1, 1, 2);
    grid->addWidget(optColorMask[1], 2, 0);
    grid->addWidget(namedLabel(QStringLiteral("Points, which one aren't black all be coloured whitely."), "Label3", this),
                    2, 1, 1, 2);
    grid->addWidget(optColorMask[2], 3, 0);
    grid->addWidget(namedLabel(QStringLiteral("from"), "Label5", this), 4, 0);
    grid->addWidget(sldFrom, 4, 1);
    grid->addWidget(txtFrom, 4, 2);
    grid->addWidget(sldTo, 5, 1);
    grid->addWidget(txtTo, 5, 2);
    grid->addWidget(pcColor, 6, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(mPicture);
    right->addWidget(namedLabel(
        QStringLiteral("this picture is a preview. The mask is saved in the size of the original terrain."), "Label4",
        this));
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(right);

    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(sldFrom, &QSlider::valueChanged, this, [this] { sldFrom_Change(); });
    connect(sldTo, &QSlider::valueChanged, this, [this] { sldTo_Change(); });
    for (QSlider* s : {sldFrom, sldTo})
        connect(s, &QSlider::actionTriggered, this, [this] { optColorMask[2]->setChecked(true); });

    // On opening: the palette strip, the band in metres, and nothing to save yet.
    QImage palette(PaletteCount + 1, 16, QImage::Format_RGB32);
    const int row = paletteRowClamped();
    for (int y = 0; y < palette.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(palette.scanLine(y));
        for (int i = 0; i <= PaletteCount; ++i) line[i] = Palette[i][row];
    }
    pcColor->setPixmap(QPixmap::fromImage(palette));
    showMetres();
    cmdSave->setEnabled(false);
}

MaskPicture::Rule dlgMaskColor::chosenRule() const
{
    if (optColorMask[1]->isChecked()) return MaskPicture::Rule::Black;
    if (optColorMask[2]->isChecked()) return MaskPicture::Rule::Range;
    return MaskPicture::Rule::White;
}

void dlgMaskColor::showMetres()
{
    txtFrom->setText(rt::Str(CurrentTerrain->GetV2Meter(float(sldFrom->value()))).trimmed());
    txtTo->setText(rt::Str(CurrentTerrain->GetV2Meter(float(sldTo->value()))).trimmed());
}

void dlgMaskColor::sldFrom_Change()
{
    if (sldFrom->value() > sldTo->value()) sldTo->setValue(sldFrom->value());
    showMetres();
}

void dlgMaskColor::sldTo_Change()
{
    if (sldTo->value() < sldFrom->value()) sldFrom->setValue(sldTo->value());
    showMetres();
}

void dlgMaskColor::setButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {cmdSave, OKButton, CancelButton}) b->setEnabled(enabled);
}

void dlgMaskColor::OKButton_Click()
{
    // The old mask goes, and the buttons wait until the new one is made.
    mPicture->clear();
    setButtonsEnabled(false);
    rt::ui().setStatusText(QStringLiteral("make mask ...."));
    rt::DoEvents();
    {
        rt::BusyGuard busy;
        // The view colours drawn afresh, so marks over the view do not count.
        QImage view;
        DrawTerrainToPicture(view, *CurrentTerrain, 0, 0, -1, -1, 0);
        m_mask = MaskPicture::makeMask(*CurrentTerrain, view, chosenRule(), sldFrom->value(), sldTo->value(),
                                       [](int percent) { CurrentTerrain->pProgress = percent; });
        CurrentTerrain->pProgress = 0;
    }
    mPicture->setPixmap(QPixmap::fromImage(
        m_mask.scaled(mPicture->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
    setButtonsEnabled(true);
    rt::ui().setStatusText(QStringLiteral("Ready"));
}

void dlgMaskColor::cmdSave_Click()
{
    if (m_mask.isNull()) return;
    rt::FileDialogRequest request;
    request.title = QStringLiteral("Terrain save ...");
    request.filter = QStringLiteral("BMP-Files|*.bmp");
    request.defaultExt = QStringLiteral("bmp");
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    // The terrain keeps its own file name: a later Save must not write the
    // terrain over the mask bitmap.
    QString error;
    if (!rt::SavePicture(m_mask, chosen.fileName, &error))
        rt::MsgBox(QStringLiteral("The mask could not be saved as %1: %2").arg(chosen.fileName, error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Terrain save ..."));
}
