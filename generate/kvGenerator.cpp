#include "generate/kvGenerator.h"

#include "generate/KVFilter.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/STDIO.h"
#include "terrain/TerrainPicture.h"
#include "terrain/clsTerrain.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace kvGenerator {

namespace {

constexpr int32_t kLayerMargin = 10;  // the layer grid runs to E + 9, the work grid to Size + 10
constexpr int32_t kLargestSize = 2048;

void status(const QString& text)
{
    rt::ui().setStatusText(text);
}

QString perlinFolder()
{
    return findPathNoCase(rt::AppPath() + QStringLiteral("/PS"));
}

// Pixel colour value red + 256 green + 65536 blue \ 256, less 32768: a grey
// level g gives 257 g - 32768, black -32768, white 32767.
inline int32_t pixelHeight(QRgb p)
{
    return int32_t(qBlue(p)) * 256 + int32_t(qGreen(p)) - 32768;
}

// Largest index of the terrain that exists (both within Size + 2 and allocated).
int32_t terrainLast(const clsTerrain& t)
{
    return std::min<int32_t>(int32_t(t.Size()) + 2, t.allocatedSide() - 1);
}

// Smoothing only matters after refinement; a strength below 3 leaves the terrain.
void smoothRefined(clsTerrain& terrain, int32_t rounds, int32_t size)
{
    float strength = float(2 * rounds + 1);
    if (strength < 3.0f) return;
    KVFilter::SmoothTerrain(terrain, strength, size, 0, 0, -32768, 32768);
}

} // namespace

int32_t layerSide(bool highResolution)
{
    return highResolution ? 257 : 129;
}

SeedParts splitSeed(QString& seed)
{
    seed = (QStringLiteral("000000") + seed).right(6);
    SeedParts p;
    p.a = rt::Val(seed.right(3));
    p.b = double(rt::CInt(rt::Val(seed.left(3))));
    return p;
}

int32_t windowOffset(int32_t extent, int32_t E, double part)
{
    const double wanted = rt::Int(double(extent - E) * part / 1000.0 + 1.0);
    const double last = double(extent - E - 1);  // window E + 1 pixels wide ends at extent - 1
    if (last <= 0) return 0;
    return int32_t(std::clamp(wanted, 0.0, last));
}

std::optional<LayerPictures> LoadPerlinLayers(const LayerFiles& files, bool highResolution)
{
    const QString folder = perlinFolder();
    if (!STDIO::FileExists(folder + QStringLiteral("/*"))) {
        rt::MsgBox(QStringLiteral("Perlin Path not exists"), rt::vbOKOnly);
        return std::nullopt;
    }
    const int32_t need = layerSide(highResolution) + 1;
    LayerPictures pictures;
    for (size_t k = 0; k < files.size(); ++k) {
        const QString name = files[k].trimmed();
        QString error;
        QImage img = name.isEmpty() ? QImage() : LoadPicture(folder + QLatin1Char('/') + name, &error);
        if (img.isNull()) {
            rt::MsgBox(QStringLiteral("Perlin picture %1 (%2) cannot be loaded. The terrain is not changed.")
                           .arg(k + 1)
                           .arg(name.isEmpty() ? QStringLiteral("no name") : name),
                       rt::vbOKOnly | rt::vbExclamation);
            return std::nullopt;
        }
        if (img.width() < need || img.height() < need) {
            rt::MsgBox(QStringLiteral("Perlin picture %1 is %2 x %3 pixels; the generator needs at least %4 x %4. "
                                      "The terrain is not changed.")
                           .arg(name)
                           .arg(img.width())
                           .arg(img.height())
                           .arg(need),
                       rt::vbOKOnly | rt::vbExclamation);
            return std::nullopt;
        }
        pictures[k] = img.convertToFormat(QImage::Format_RGB32);
    }
    return pictures;
}

LayerGrid SumLevels(const LayerPictures& pictures, int32_t E, const SeedParts& seed, int structure,
                    int iteration, const std::function<void(int32_t)>& progress)
{
    LayerGrid layer(E + kLayerMargin);
    // Picture 0 holds no layer: structure 0 starts at the coarsest picture.
    int k = std::max(structure, 1);
    int32_t sign = -1;
    iteration = std::clamp(iteration, 1, 11);
    for (int L = 1;; ++L, ++k) {
        // The picture and the window, cut along each axis of its own.
        if (k > 5) k = 1;
        QImage pic = pictures[size_t(k - 1)];
        if (pic.format() != QImage::Format_RGB32 && pic.format() != QImage::Format_ARGB32)
            pic = pic.convertToFormat(QImage::Format_RGB32);
        const int32_t x0 = windowOffset(pic.width(), E, seed.a);
        const int32_t y0 = windowOffset(pic.height(), E, seed.b);
        // Alternating sign, weight 1 / L. A picture without room for the
        // window (LoadPerlinLayers refuses those) adds nothing.
        sign = -sign;
        const bool fits = pic.width() > E && pic.height() > E;
        for (int32_t j = 0; fits && j <= E; ++j) {
            const QRgb* src = reinterpret_cast<const QRgb*>(pic.constScanLine(y0 + j)) + x0;
            int32_t* dst = layer.row(j);
            for (int32_t i = 0; i <= E; ++i) dst[i] += (sign * pixelHeight(src[i])) / L;
        }
        // Progress per level; it reaches 100 only when the run ends.
        if (progress) progress(std::max(0, (100 * L) / iteration - 1));
        rt::DoEvents();
        if (L >= iteration) break;
    }
    return layer;
}

void RefineLayer(LayerGrid& layer, int32_t& n, int16_t mode, int roughness)
{
    // A fresh random sequence and a grid of twice the side.
    status(QStringLiteral("Resize Terrain..."));
    rt::BusyGuard busy;
    double r = double(roughness) / 200.0;
    rt::Randomize();
    LayerGrid t(2 * n + 2);
    rt::DoEvents();
    // Every source point fills its 2 x 2 block of children.
    for (int32_t j = 0; j <= n; ++j) {
        int32_t* top = t.row(2 * j);
        int32_t* bottom = t.row(2 * j + 1);
        for (int32_t i = 0; i <= n; ++i) {
            const double f = 1.0 + double(rt::Rnd()) * r;
            const double s = layer.get(i, j);
            const double right = layer.get(i + 1, j);
            const double diagonal = layer.get(i + 1, j + 1);
            const double below = layer.get(i, j + 1);
            switch (mode) {
            case 1:
                top[2 * i] = rt::CLng(f * s);
                top[2 * i + 1] = rt::CLng(f * (right + s) / 2.0);
                bottom[2 * i + 1] = rt::CLng(f * (diagonal + s) / 2.0);
                bottom[2 * i] = rt::CLng(f * (below + s) / 2.0);
                break;
            case 2:
                top[2 * i] = top[2 * i + 1] = bottom[2 * i] = bottom[2 * i + 1] = rt::CLng(s);
                break;
            case 0: {
                // The jitter takes the roughness's place for the next point.
                r = f * double(rt::Rnd()) * 0.1;
                top[2 * i] = rt::CLng(s);
                auto child = [&](double neighbour) {
                    r = f * double(rt::Rnd()) * 0.1;
                    return rt::CLng(s + (neighbour - s) / (2.0 + r));
                };
                top[2 * i + 1] = child(right);
                bottom[2 * i + 1] = child(diagonal);
                bottom[2 * i] = child(below);
                break;
            }
            default:
                break;
            }
        }
        rt::DoEvents();
    }
    // The doubled grid replaces the layer.
    layer = std::move(t);
    n = layer.side - 2;
    rt::DoEvents();
}

double combineHeight(int16_t mode, double c, double hw)
{
    switch (mode) {
    case 0:
    case 1: return c + hw;
    case 2: return c - hw;
    case 3: return hw * c;
    case 4: return (hw + 1.0 == 0.0) ? c : c / (hw + 1.0);
    case 5: return c < hw ? hw : c;
    case 6: return c > hw ? hw : c;
    default: return c;
    }
}

void CombineLayer(clsTerrain& terrain, const LayerGrid& layer, int32_t size, int32_t height, int16_t mode)
{
    status(QStringLiteral("calculate Terrain ......."));
    // The work grid ends at Size + 10; a larger layer (finer structures on a
    // small terrain) is cut there.
    const int32_t workLast = std::min(layer.side - 1, size + kLayerMargin);
    const int32_t last = std::min(size + 1, terrainLast(terrain));
    const double weight = double(height) / 100.0;
    for (int32_t y = 0; y <= last; ++y) {
        int32_t* dst = terrain.row(y);
        const int32_t* src = y <= workLast ? layer.row(y) : nullptr;
        for (int32_t x = 0; x <= last; ++x) {
            const double w = (src && x <= workLast) ? double(src[x]) : 0.0;
            dst[x] = rt::CLng(combineHeight(mode, double(dst[x]), weight * w));
        }
        terrain.pProgress = size > 0 ? int32_t(double(y) / double(size) * 100.0) : 100;
        rt::DoEvents();
    }
    terrain.Range();
}

void GeneratePerlinTerrain(clsTerrain& terrain, int32_t size, const LayerPictures& pictures,
                           GeneratorParams& params)
{
    rt::BusyGuard busy;
    status(QStringLiteral("Load Perlin Sets..."));
    terrain.pProgress = 0;
    rt::DoEvents();
    const int32_t E = layerSide(params.highResolution);
    // The panel's largest grid; beyond it the refined layer would not fit memory.
    size = std::clamp<int32_t>(size, 1, kLargestSize);
    const SeedParts seed = splitSeed(params.seed);
    status(QStringLiteral("Generate Terrain..."));
    rt::DoEvents();
    // Sum the pictures' levels into one layer.
    LayerGrid layer = SumLevels(pictures, E, seed, params.structure, params.iteration,
                                [&terrain](int32_t percent) { terrain.pProgress = percent; });
    // Refinement until the layer covers the terrain.
    const int32_t rounds = size / (2 * (E - 1));
    int32_t n = E - 1;
    for (int32_t round = 0; round < rounds; ++round) {
        RefineLayer(layer, n, params.resizeMode, params.roughness);
        terrain.pProgress = int32_t((100.0 / double(size)) * double(n));
        if (n >= size) break;
    }
    // Combine, then free the layer: it can be as large as the terrain.
    CombineLayer(terrain, layer, size, params.height, params.combineMode);
    layer = LayerGrid();
    // The more refinement rounds, the stronger the smoothing; then rescale.
    smoothRefined(terrain, rounds, size);
    RunScaleTerrain(terrain);
    terrain.pProgress = 100;
    rt::DoEvents();
}

std::optional<LayerPictures> LoadPerlinLayersForRun(clsTerrain& terrain, const LayerFiles& files,
                                                    bool highResolution)
{
    // Busy and told so before the pictures are read: they take a while.
    rt::BusyGuard busy;
    status(QStringLiteral("Load Perlin Sets..."));
    terrain.pProgress = 0;
    rt::DoEvents();
    return LoadPerlinLayers(files, highResolution);
}

namespace {
// The preview weights the layer as h * g / 100 in the first four modes and
// as (h / 100) * g in the last two; the two orders round exact halves
// differently, so each keeps its own.
double previewHeight(int16_t mode, double c, double h, double g)
{
    switch (mode) {
    case 1: return c + h * g / 100.0;
    case 2: return c - h * g / 100.0;
    case 3: return h * g * c / 100.0;
    case 4: {
        const double divisor = h * g / 100.0 + 1.0;
        return divisor == 0.0 ? c : c / divisor;
    }
    default: return combineHeight(mode, c, h / 100.0 * g);
    }
}
} // namespace

void CombinePreview(clsTerrain& generated, const clsTerrain& current, int32_t height, int16_t mode)
{
    // A preview of no size combines nothing.
    const int32_t gsize = generated.Size();
    if (gsize <= 0) return;
    const double scale = double(current.Size()) / double(gsize);
    status(QStringLiteral("add terrain with preview....."));
    rt::DoEvents();
    // Unlike the generator's own combine, mode 0 has no formula here: like
    // any other unknown mode it keeps the generated heights.
    if (mode < 1 || mode > 6) return;
    const double h = height;
    for (int32_t y = 1; y <= gsize; ++y) {
        const int32_t cy = rt::CLng(double(y) * scale);
        for (int32_t x = 1; x <= gsize; ++x) {
            const double c = current.GetPoint(rt::CLng(double(x) * scale), cy);
            const double g = generated.GetPoint(x, y);
            generated.SetPoint(x, y, rt::CLng(previewHeight(mode, c, h, g)));
        }
    }
}

} // namespace kvGenerator
