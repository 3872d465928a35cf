#pragma once
// What the Global and Effects tabs do to the terrain, apart from the window:
// heights and side length typed in metres, planet presets, the fine-height
// read-out, the grid resize passes and a run of an effect over the Z band.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class clsTerrain;

namespace Panels {

// Largest side length in metres the panel accepts.
constexpr double kMaxSideMetres = 100000.0;
// Planet radius box limits in km.
constexpr double kMinRadius = 1.0;
constexpr double kMaxRadius = 10000.0;

enum class Planet { Mars, Moon, Earth, Complete };

// Mars, Moon and Earth set the radius; Complete a curved planet of radius 6
// with 5 metres a point.
void applyPlanetPreset(clsTerrain& t, Planet p);

// Whether text starts with a number Val can read (blanks, a sign, digits or
// a decimal point followed by a digit): other text would read as 0.
bool hasLeadingNumber(const QString& text);

// Metres typed into a height box in terrain units (Val / ScaleT, nearest,
// halves to even, held to 16 bits); nothing when the text holds no number or
// the spacing is not a positive number.
std::optional<int16_t> metresToTerrainUnits(const QString& text, double scaleT);

// The top (or bottom) of the unit range from metres typed into a height box,
// the other end kept exactly; false, nothing changed, when the text holds no
// number.
bool setHeightFromMetres(clsTerrain& t, const QString& text, bool top);

// The side length of the text kept to Size + 1 .. 100000 metres.
double clampedSideLength(const QString& text, int32_t size);

// A new side length m in metres: ScaleT := m / Size. With keepUnits the
// terrain units stay (the heights in metres scale with the side); otherwise
// the heights in metres stay, the units scaled to the new spacing.
void applySideLength(clsTerrain& t, double metres, bool keepUnits);

// The fine height f in metres over the height range of the two boxes.
double fineHeightMetres(const QString& maxMetres, const QString& minMetres, int32_t f);

// Whether halving or doubling a grid of Size size reaches Size target within
// the passes resizeGrid makes.
bool resizeReaches(int32_t size, int32_t target);

// Halves (target below Size) or doubles (above) the grid until its Size is
// target, at most 5 passes. adjustUnits halves or doubles the unit range with
// each pass, exactly (ends held to 16 bits). Returns the passes made.
int resizeGrid(clsTerrain& t, int32_t target, bool adjustUnits, int16_t mode, int roughness);

// Terrain with Size target and the range -10..10 m, all heights 0.
void newFlatGrid(clsTerrain& t, int32_t target);

// The effect code of option index i, and the strength kept for it.
int16_t effectCode(int effectFilter);
// Stores value as the strength of option i; codes outside 1..99 keep none.
void storeEffectFactor(std::array<int16_t, 100>& factors, int effectFilter, int value);
int16_t effectFactor(const std::array<int16_t, 100>& factors, int effectFilter);

// Runs the effect of option i over the whole grid and the band of the two
// Z sliders (unsigned raw heights); seedText is the seed box's text. False
// with the reason in *error when the effect could not run.
bool runEffect(clsTerrain& t, int effectFilter, const std::array<int16_t, 100>& factors, int32_t zMinSlider,
               int32_t zMaxSlider, const QString& seedText, QString* error);

} // namespace Panels
