#include "terrain/Painter3D.h"

#include "runtime/Numbers.h"

#include <QPainter>
#include <QPoint>

#include <algorithm>
#include <cmath>

namespace Ansicht3D {

double DegToRad(double deg)
{
    return deg * 3.14159265358979 / 180.0;
}

namespace {

bool isNumericText(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    t.toDouble(&ok);
    return ok && !t.isEmpty();
}

// Adds one to a string of decimal digits, carrying to the left.
QString incrementDigits(QString digits)
{
    for (qsizetype k = digits.size() - 1; k >= 0; --k) {
        if (digits[k] != QLatin1Char('9')) {
            digits[k] = QChar(digits[k].unicode() + 1);
            return digits;
        }
        digits[k] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

} // namespace

QString RoundNumberString(const QString& text, int digits)
{
    // Only numbers are rounded.
    if (!isNumericText(text) || digits < 0) return text;
    if (text.contains(QLatin1Char('E'), Qt::CaseInsensitive) ||
        text.contains(QLatin1Char('D'), Qt::CaseInsensitive)) {
        // An exponent would be read as fraction digits; round the value instead.
        return QString::number(rt::Val(QString(text).replace(QLatin1Char(','), QLatin1Char('.'))), 'f', digits);
    }

    // Split at the first "." or else ",".
    qsizetype sepAt = text.indexOf(QLatin1Char('.'));
    if (sepAt < 0) sepAt = text.indexOf(QLatin1Char(','));
    if (sepAt < 0) return text;
    const QChar sep = text[sepAt];
    QString whole = text.left(sepAt).trimmed();
    const QString fraction = text.mid(sepAt + 1).trimmed();
    if (fraction.size() <= digits) return text;

    // The sign stays aside so that rounding up moves away from zero.
    QString sign;
    if (whole.startsWith(QLatin1Char('-')) || whole.startsWith(QLatin1Char('+'))) {
        if (whole[0] == QLatin1Char('-')) sign = QStringLiteral("-");
        whole = whole.mid(1).trimmed();
    }
    if (whole.isEmpty()) whole = QStringLiteral("0");

    // The first dropped digit decides.
    const QString kept = fraction.left(digits);
    QString rounded = whole + kept;
    if (fraction[digits] >= QLatin1Char('5')) rounded = incrementDigits(rounded);
    const QString newWhole = rounded.left(rounded.size() - digits);
    if (digits == 0) return sign + newWhole;
    return sign + newWhole + sep + rounded.right(digits);
}

namespace {

// One screen step: the product as number text, rounded on its digits.
int32_t screenStep(double product)
{
    return rt::CLng(rt::Val(RoundNumberString(rt::Str(product), 0)));
}

} // namespace

void DrawTerrain3D(QImage& pic, int32_t originX, int32_t originY, int32_t cellI, int32_t cellJ,
                   int32_t countI, int32_t countJ, QRgb fillColour, QRgb lineColour,
                   const HeightArray& heights, double angleDeg)
{
    countI = std::min(countI, int32_t(heights.width()));
    countJ = std::min(countJ, int32_t(heights.height()));
    if (pic.isNull() || countI < 2 || countJ < 2) return;

    // Solid fill, outline in the line colour, exact pixels.
    QPainter painter(&pic);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor::fromRgb(lineColour));
    painter.setBrush(QColor::fromRgb(fillColour));

    // The four screen steps.
    const double a = DegToRad(angleDeg);
    const int32_t dxI = screenStep(cellI * std::cos(a));
    const int32_t dyI = screenStep(cellI * std::sin(a));
    const int32_t dxJ = screenStep(cellJ * std::cos(a));
    const int32_t dyJ = screenStep(cellJ * std::sin(a));

    // The far corner of row 0.
    const int32_t X0 = originX + (countI - 1) * dxI;

    // Back to front: later polygons cover earlier ones.
    const auto H = [&heights](int32_t i, int32_t j) { return heights(i, j); };
    for (int32_t j = 1; j < countJ; ++j) {
        for (int32_t i = 1; i < countI; ++i) {
            const int32_t x = X0 - dxI * i + dxJ * j;
            const int32_t y = originY + dyI * i + dyJ * j;
            const QPoint corners[4] = {
                QPoint(x, y - H(i, j)),
                QPoint(x - dxJ, y - dyJ - H(i, j - 1)),
                QPoint(x - dxJ + dxI, y - dyJ - dyI - H(i - 1, j - 1)),
                QPoint(x + dxI, y - dyI - H(i - 1, j)),
            };
            painter.drawPolygon(corners, 4);
        }
    }
}

} // namespace Ansicht3D
