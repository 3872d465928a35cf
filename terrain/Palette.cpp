#include "terrain/Palette.h"

#include <algorithm>
#include <array>

QRgb Palette[PaletteCount + 1][PaletteSchemes] = {};
int PaletteRow = 0;

namespace {

constexpr int StopCount = 17;

// Colour stops (0xRRGGBB) at classes 0, 16, 32, ... 240 and 255, one row per
// scheme: "Greyscala", "Woodland", "Deset", "Greenlands", "Palette",
// "Hills & Wood", "Iceland", "Neon!".
constexpr std::array<std::array<uint32_t, StopCount>, PaletteSchemes> Stops = {{
    {0x000000, 0x0A0A0A, 0x171617, 0x262626, 0x373738, 0x4A4A49, 0x5C5C5B, 0x6D6D6D, 0x7E7E7E,
     0x8F8F8F, 0xA0A1A1, 0xB3B3B3, 0xC5C4C5, 0xD6D6D6, 0xE5E5E6, 0xF2F2F2, 0xFCFBFB},
    {0x71531C, 0x916E17, 0x726F11, 0x1F5D09, 0x256C17, 0x398229, 0x499238, 0x5C9044, 0x708F51,
     0x7C8A5A, 0x7E7F5E, 0x807664, 0x837D72, 0x80807D, 0xC4C3C4, 0xE5E5E5, 0xFEFEFE},
    {0x2D5000, 0x472B00, 0x611E00, 0x752A00, 0x8A3402, 0x9C4008, 0xA76615, 0xB08E23, 0xBAA82F,
     0xC8B238, 0xD6BF3F, 0xE1CA48, 0xE1CB5A, 0xE1C96E, 0xE1C882, 0xE1C896, 0xE1D4BD},
    {0x1E2B3A, 0x2C1E47, 0x422367, 0x502C6E, 0x472D5C, 0x413A54, 0x3B5368, 0x34778E, 0x2E7770,
     0x287852, 0x237F4D, 0x299773, 0x52AE93, 0x7EC4B2, 0xA9DAD1, 0xC3DFD8, 0xD5DCDB},
    {0xFF0004, 0xFF006F, 0xFF00E4, 0xCD00FF, 0x6C00FF, 0x0E00FF, 0x0045FF, 0x00B4FF, 0x00FFF4,
     0x00FF98, 0x00FF36, 0x13FF00, 0x79FF00, 0xE0FF00, 0xFFD000, 0xFF6100, 0xFF0300},
    {0x0D241C, 0x063B28, 0x06583B, 0x0B6843, 0x17653E, 0x236139, 0x577B3C, 0xA5A947, 0x9B7744,
     0x8F443D, 0x8E2E2E, 0xA64914, 0xC07133, 0xDDA36A, 0xF9D7A1, 0xF7E2B3, 0xF2E7C0},
    {0x2D1F26, 0x4E102F, 0x721348, 0x70235D, 0x6C3173, 0x54218D, 0x3C11A7, 0x2810C1, 0x1510DA,
     0x1026E2, 0x1046E2, 0x4387F0, 0x79CCFD, 0x97D4FF, 0xB4D4FF, 0xD4E5FF, 0xF5F8FF},
    {0x332637, 0x23186B, 0x271BAC, 0x2B2FD7, 0x305AE5, 0x3078CA, 0x30856C, 0x309B2A, 0x2FC927,
     0x34EE26, 0x8A9A2A, 0xE1462E, 0xFC6148, 0xFCB26E, 0xFDFA95, 0xFEFCC6, 0xFEFEF3},
}};

int stopClass(int i)
{
    return std::min(i * 16, PaletteCount);
}

int channel(uint32_t rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

// Linear blend of one channel, rounded to the nearest level.
int blend(int a, int b, int num, int den)
{
    return a + ((b - a) * 2 * num + (b >= a ? den : -den)) / (2 * den);
}

} // namespace

void LoadPalette()
{
    for (int scheme = 0; scheme < PaletteSchemes; ++scheme) {
        const auto& stops = Stops[static_cast<size_t>(scheme)];
        for (int i = 0; i + 1 < StopCount; ++i) {
            const int c0 = stopClass(i);
            const int c1 = stopClass(i + 1);
            const uint32_t a = stops[static_cast<size_t>(i)];
            const uint32_t b = stops[static_cast<size_t>(i + 1)];
            for (int c = c0; c <= c1; ++c) {
                const int t = c - c0;
                const int span = c1 - c0;
                Palette[c][scheme] = qRgb(blend(channel(a, 16), channel(b, 16), t, span),
                                          blend(channel(a, 8), channel(b, 8), t, span),
                                          blend(channel(a, 0), channel(b, 0), t, span));
            }
        }
    }
}

QImage PalettePicture()
{
    QImage img(PaletteCount + 1, PaletteSchemes, QImage::Format_RGB32);
    for (int y = 0; y < PaletteSchemes; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x <= PaletteCount; ++x) line[x] = Palette[x][y];
    }
    return img;
}

int heightClass(int32_t raw)
{
    const int64_t c = (static_cast<int64_t>(raw) + 32768) / 256;  // truncates toward zero
    return static_cast<int>(std::clamp<int64_t>(c, 0, PaletteCount));
}

int paletteRowClamped()
{
    return std::clamp(PaletteRow, 0, PaletteSchemes - 1);
}
