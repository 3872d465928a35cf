#pragma once
// The perlin-set generator: windows cut out of five noise pictures are summed
// level by level into a layer grid, the grid is doubled until it covers the
// terrain, combined with the heights the terrain already holds, smoothed and
// rescaled to the full height range.
// Everything the panel decides (set, sliders, seed, combine mode) comes in as
// parameters, so the generator runs the same from the window and from tests.

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class clsTerrain;

namespace kvGenerator {

// The panel's values for one run.
struct GeneratorParams {
    int16_t iteration = 1;        // levels 1..11
    int32_t height = 100;         // weight of the layer in percent, 1..100
    int16_t structure = 2;        // picture of the first level, 0..4 (0 counts as 1)
    QString seed = QStringLiteral("0");  // the seed box's text; replaced by its six-character form
    bool highResolution = false;  // "finer Structures": layer side 257 instead of 129
    int roughness = 0;            // 0..10, noise of each refinement
    int16_t combineMode = 1;      // 0/1 add, 2 subtract, 3 multiply, 4 divide, 5 highest, 6 lowest
    int16_t resizeMode = 0;       // refinement: 1 bilinear, 2 pixel repetition, 0 jittered midpoints
};

// Layer pictures 1..5 of a set at indices 0..4.
using LayerPictures = std::array<QImage, 5>;
// Their file names inside the PS folder.
using LayerFiles = std::array<QString, 5>;

// Square grid of layer values, indices 0..side-1 in both directions; (i, j)
// is column i, row j of the picture window. Rows are contiguous.
struct LayerGrid {
    int32_t side = 0;
    std::vector<int32_t> v;

    explicit LayerGrid(int32_t s = 0) : side(s), v(size_t(s) * size_t(s), 0) {}
    int32_t* row(int32_t j) { return v.data() + size_t(j) * size_t(side); }
    const int32_t* row(int32_t j) const { return v.data() + size_t(j) * size_t(side); }
    int32_t& at(int32_t i, int32_t j) { return v[size_t(j) * size_t(side) + size_t(i)]; }
    // 0 outside the grid, like an element that was never written.
    int32_t get(int32_t i, int32_t j) const
    {
        return (i < 0 || j < 0 || i >= side || j >= side) ? 0 : v[size_t(j) * size_t(side) + size_t(i)];
    }
};

// The layer side E: 129, or 257 with finer structures.
int32_t layerSide(bool highResolution);

// The seed becomes the last six characters of "000000" & seed; a is the
// number of its last three characters (x part), b of its first three (y part).
struct SeedParts {
    double a = 0;
    double b = 0;
};
SeedParts splitSeed(QString& seed);

// First pixel of a window of E + 1 pixels along one axis of a picture
// `extent` pixels long: Int((extent - E) * part / 1000 + 1), kept so that the
// whole window lies inside the picture (a window hanging over the edge would
// read pixels that do not exist).
int32_t windowOffset(int32_t extent, int32_t E, double part);

// Loads the five pictures of a set from the program folder's PS folder. A
// missing folder, a picture that cannot be read or one too small for a window
// of E + 1 pixels is reported and gives nothing.
std::optional<LayerPictures> LoadPerlinLayers(const LayerFiles& files, bool highResolution);

// Sums iteration levels of windows, alternating in sign and falling in
// weight, summed into a grid of side E + 10 (samples at 0..E). progress, when
// given, hears the percentage after each level.
LayerGrid SumLevels(const LayerPictures& pictures, int32_t E, const SeedParts& seed, int structure,
                    int iteration, const std::function<void(int32_t)>& progress = {});

// Doubles the layer once: on return it has indices 0..2n + 1 and n holds 2n.
// mode 1 interpolates, 2 repeats points, 0 adds jittered midpoints, other
// modes give zeros. roughness (0..10) scales each value by up to 1 + roughness / 200.
void RefineLayer(LayerGrid& layer, int32_t& n, int16_t mode, int roughness);

// One combined height: c the terrain's, hw the weighted layer value.
// Keeps c for modes without a formula and where a division would be by zero.
double combineHeight(int16_t mode, double c, double hw);

// Combines the layer into points 0..size + 1 of terrain (those
// that exist) by mode, with the layer weighted by height / 100.
void CombineLayer(clsTerrain& terrain, const LayerGrid& layer, int32_t size, int32_t height, int16_t mode);

// The whole run on pictures already loaded. Size is the generated grid's last
// index (at most 2048); the terrain keeps its own size. Reports progress on
// the terrain. Always changes the terrain.
void GeneratePerlinTerrain(clsTerrain& terrain, int32_t size, const LayerPictures& pictures,
                           GeneratorParams& params);

// The set's pictures as Generate and Preview read them: busy, the status line
// and the terrain's progress at 0 told to the window before the read starts.
// A set that cannot be loaded is reported as by LoadPerlinLayers and gives
// nothing.
std::optional<LayerPictures> LoadPerlinLayersForRun(clsTerrain& terrain, const LayerFiles& files,
                                                    bool highResolution);

// The preview's own combine: points 1..generated.Size() get the current
// terrain's height at the scaled position combined with the generated one.
// Modes outside 1..6, 0 included, keep the generated heights.
void CombinePreview(clsTerrain& generated, const clsTerrain& current, int32_t height, int16_t mode);

} // namespace kvGenerator
