#include "objects/ObjektMakerProfiles.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <algorithm>
#include <cmath>

namespace ObjektMaker {

namespace {

// Every stored value is rounded halves to even and kept within 16 bits.
void put(Profile& p, int index, double v)
{
    if (index < 0 || index >= ProfileLength) return;
    p[size_t(index)] = rt::CInt(v);
}

void sinus(Profile& p, int from, int to, double amplitude, bool noise)
{
    for (int i = from; i <= to; ++i) {
        double v = std::sin(i / 80.0) * amplitude;
        if (noise) v += double(rt::Rnd()) * 5 - 2.5;
        put(p, i, std::max(v, 0.0));
    }
}

void randomSteps(Profile& p)
{
    // Single precision as the preset list always drew it; the last block
    // starts at 248 at most and ends before index 297.
    float i = 0;
    while (i <= 248) {
        const float h = rt::Rnd() * 256;
        const float w = rt::Rnd() * 32 + 16;
        for (float k = i; k <= i + w; k += 1) put(p, rt::CLng(k), h);
        i += w;
    }
}

} // namespace

QStringList presetNames()
{
    return {QStringLiteral("Sin"),       QStringLiteral("Cos"),
            QString::fromUtf8("x\u00b2"), QStringLiteral("Noise"),
            QStringLiteral("Sin+Noise"), QStringLiteral("Steps(Sym)"),
            QStringLiteral("Steps"),     QStringLiteral("Pyramide"),
            QStringLiteral("Random Steps small"), QStringLiteral("Random Steps"),
            QStringLiteral("Double Sinus"), QStringLiteral("Roll"),
            QStringLiteral("Ramp left"), QStringLiteral("Ramp right"),
            QString::fromUtf8("x\u00b2 left"), QStringLiteral("House")};
}

void GenerateProfile(int preset, Profile& p)
{
    rt::Randomize();
    switch (preset) {
    case 1: sinus(p, 3, 254, 255, false); break;
    case 2:
        for (int i = 0; i <= 128; ++i) {
            const double v = std::max(std::cos(i / 80.0) * 255, 0.0);
            put(p, i, v);
            put(p, 256 - i, v);
        }
        break;
    case 3:
        for (int i = 0; i <= 128; ++i) put(p, i, (2.0 * i) * (2.0 * i) / 256);
        for (int i = 0; i <= 127; ++i) put(p, 256 - i, (2.0 * i) * (2.0 * i) / 256);
        break;
    case 4:
        for (int i = 0; i <= 256; ++i) put(p, i, rt::Rnd() * 64.0f + 64.0f);
        break;
    case 5: sinus(p, 0, 256, 250, true); break;
    case 6:
        for (int i = 0; i <= 128; i += 8) {
            for (int k = i; k <= i + 7; ++k) {
                put(p, k, 2 * i);
                put(p, 256 - k, 2 * i);
            }
        }
        break;
    case 7:
        for (int i = 0; i <= 248; i += 8)
            for (int k = i; k <= i + 7; ++k) put(p, k, i);
        break;
    case 8:
        for (int i = 0; i <= 128; ++i) {
            put(p, i, 2 * i);
            put(p, 256 - i, 2 * i);
        }
        break;
    case 9:
        for (int i = 0; i <= 248; i += 8) {
            const float h = rt::Rnd() * 256;
            for (int k = i; k <= i + 7; ++k) put(p, k, h);
        }
        break;
    case 10: randomSteps(p); break;
    case 11:
        for (int i = 0; i <= 256; ++i) put(p, i, std::sin(i / 16.0) * 128 + 128);
        break;
    case 12:
        for (int i = 0; i <= 256; ++i) put(p, i, 0);
        for (int i = 0; i <= 125; ++i) {
            put(p, 127 + i, std::sqrt(125.0 * 125.0 - double(i) * i));
            p[size_t(127 - i)] = p[size_t(127 + i)];
        }
        break;
    case 13:
        for (int i = 0; i <= 256; ++i) put(p, i, i);
        break;
    case 14:
        for (int i = 0; i <= 256; ++i) put(p, i, 256 - i);
        break;
    case 15:
        for (int i = 0; i <= 256; ++i) put(p, i, std::max(double(i) * i / 256, 0.0));
        break;
    case 16:
        for (int i = 0; i <= 128; ++i) {
            put(p, i, i + 127);
            p[size_t(256 - i)] = p[size_t(i)];
        }
        break;
    case SmoothPreset: smoothProfile(p); break;
    default: break;
    }
}

namespace {

// The mean of P(i - 2 .. i + 2) over the indices 1..255 only.
double windowMean(const Profile& p, int i)
{
    double sum = 0;
    int count = 0;
    for (int k = i - 2; k <= i + 2; ++k) {
        if (k > 0 && k < 256) {
            sum += p[size_t(k)];
            ++count;
        }
    }
    return count ? sum / count : p[size_t(i)];
}

} // namespace

void smoothProfile(Profile& p)
{
    // In place: values already smoothed feed the following points.
    for (int i = 0; i <= 256; ++i) put(p, i, windowMean(p, i));
    for (int i = 256; i >= 1; --i) put(p, i, windowMean(p, i));
}

void clearProfile(Profile& p)
{
    std::fill(p.begin(), p.begin() + 257, int16_t(0));
}

void fillProfile(Profile& p)
{
    std::fill(p.begin(), p.begin() + 257, int16_t(256));
}

void invertProfile(Profile& p)
{
    for (int i = 0; i <= 256; ++i) put(p, i, 256.0 - p[size_t(i)]);
}

void symmetricProfile(Profile& p)
{
    for (int i = 128; i <= 256; ++i) p[size_t(i)] = p[size_t(256 - i)];
}

void reflectProfile(Profile& p)
{
    std::reverse(p.begin(), p.begin() + 257);
}

void swapProfiles(Profile& a, Profile& b)
{
    std::swap_ranges(a.begin(), a.begin() + 257, b.begin());
}

void profileFromMaskRow(Profile& p, const QImage& mask, int row)
{
    const MaskReader reader(mask);
    for (int i = 0; i <= 256; ++i) p[size_t(i)] = reader.rounded(i, row);
}

void profileFromMaskColumn(Profile& p, const QImage& mask, int column)
{
    const MaskReader reader(mask);
    for (int j = 0; j <= 256; ++j) p[size_t(j)] = reader.rounded(column, j);
}

DrawnColumns drawProfileAt(Profile& p, double x, double y, bool mirrored)
{
    x = std::min(std::max(x, 0.0), 256.0);
    y = std::min(std::max(y, 0.0), 256.0);
    DrawnColumns drawn;
    const double value = 256.0 - double(rt::CLng(y));
    drawn.first = rt::CLng(x);
    put(p, drawn.first, value);
    if (mirrored) {
        drawn.second = rt::CLng(256 - x);
        put(p, drawn.second, value);
    }
    return drawn;
}

void drawProfileColumn(QImage& picture, const Profile& p, int column, int top, QRgb fill, QRgb background)
{
    if (column < 0 || column >= picture.width() || column >= ProfileLength) return;
    const int64_t edge = int64_t(top) - p[size_t(column)];
    for (int y = 0; y < picture.height(); ++y)
        reinterpret_cast<QRgb*>(picture.scanLine(y))[column] = y >= edge ? fill : background;
}

QImage drawProfile(const Profile& p, int top, QRgb fill, QRgb background)
{
    QImage picture(PictureSide, PictureSide, QImage::Format_RGB32);
    for (int y = 0; y < PictureSide; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int i = 0; i < PictureSide; ++i) row[i] = y >= int64_t(top) - p[size_t(i)] ? fill : background;
    }
    return picture;
}

} // namespace ObjektMaker
