// Writes the data the editor finds in its program folder:
//   PS/*.INI + PS/*.png  three perlin sets of five grey noise pictures each,
//                        coarse to fine, every picture from its own seed;
//   erode0.flt           the erosion pattern (a 24-bit BMP under that name);
//   Elevator.set         one elevator set record holding the straight curve.
// Usage: kv_makedata <program folder>. Output is the same on every run.

#include "tools/NoiseField.h"

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <vector>

using makedata::FieldSpec;
using makedata::NoiseShape;

namespace {

// The generator cuts a window of E + 1 pixels (E = 129 or 257) starting at
// Int((S - E) * A / 1000 + 1), A = 0..999, S = the picture side; it stays
// inside the picture when S >= E + 1001 = 1258. 1296 leaves a margin.
constexpr int PerlinSide = 1296;
// The erosion picture is stretched over 1025 points (or the terrain's size).
constexpr int ErosionSide = 1025;

struct SetSpec {
    const char* file;      // definition file in PS
    const char* name;      // [SET] NAME
    const char* prefix;    // picture names: prefix1.png .. prefix5.png
    NoiseShape shape;
    double wavelength;     // first picture's; each next one halves it
    uint64_t seed;
};

const SetSpec Sets[] = {
    {"ALPINE.INI", "Alpine", "alpine", NoiseShape::Ridged, 192.0, 1001},
    {"CANYONS.INI", "Canyons", "canyons", NoiseShape::Billow, 160.0, 2003},
    {"HILLS.INI", "Rolling Hills", "hills", NoiseShape::Smooth, 256.0, 3007},
};

bool writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        std::fprintf(stderr, "kv_makedata: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeImage(const QString& path, const QImage& img, const char* format, int quality)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, format, quality) || !f.commit()) {
        std::fprintf(stderr, "kv_makedata: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage greyImage(const FieldSpec& spec)
{
    const std::vector<uint8_t> grey = makedata::makeGreyField(spec);
    QImage img(spec.side, spec.side, QImage::Format_Grayscale8);
    for (int y = 0; y < spec.side; ++y)
        std::memcpy(img.scanLine(y), grey.data() + size_t(y) * size_t(spec.side), size_t(spec.side));
    return img;
}

QString pictureName(const SetSpec& set, int k)
{
    return QStringLiteral("%1%2.png").arg(QLatin1String(set.prefix)).arg(k);
}

QByteArray definitionText(const SetSpec& set)
{
    QByteArray text = "[SET]\nNAME=" + QByteArray(set.name) + "\n\n[PERLIN]\n";
    for (int k = 1; k <= 5; ++k) text += "0" + QByteArray::number(k) + "=" + pictureName(set, k).toLatin1() + "\n";
    return text;
}

// Picture k of a set: two octaves starting at the set's wavelength / 2^(k-1).
bool writeLayer(const QString& folder, const SetSpec& set, int k)
{
    FieldSpec spec;
    spec.seed = set.seed * 10 + uint64_t(k);
    spec.side = PerlinSide;
    spec.wavelength = set.wavelength / double(1 << (k - 1));
    spec.octaves = 2;
    spec.shape = set.shape;
    // Quality 80: light compression, which keeps the build quick.
    return writeImage(QDir(folder).filePath(pictureName(set, k)), greyImage(spec), "PNG", 80);
}

bool writeErosionPattern(const QString& folder)
{
    FieldSpec spec;
    spec.seed = 4099;
    spec.side = ErosionSide;
    spec.wavelength = 256.0;
    spec.octaves = 4;
    spec.shape = NoiseShape::Channels;
    const QImage img = greyImage(spec).convertToFormat(QImage::Format_RGB888);
    return writeImage(QDir(folder).filePath(QStringLiteral("erode0.flt")), img, "BMP", -1);
}

// One 277-byte record: 20 blank-padded name characters, then 257 curve bytes;
// byte k is the row drawn in column 256 - k. The straight curve maps every
// height to itself (row k); column 0 would need row 256, which a byte cannot
// hold, so it gets the nearest row, 255.
QByteArray linearElevatorRecord()
{
    QByteArray rec = QByteArray("Linear").leftJustified(20, ' ');
    for (int k = 0; k <= 256; ++k) rec.append(char(uint8_t(k < 256 ? k : 255)));
    return rec;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv_makedata <program folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString ps = QDir(root).filePath(QStringLiteral("PS"));
    if (!QDir().mkpath(ps)) {
        std::fprintf(stderr, "kv_makedata: cannot create %s\n", qPrintable(ps));
        return 1;
    }

    std::vector<std::future<bool>> jobs;
    for (const SetSpec& set : Sets)
        for (int k = 1; k <= 5; ++k) jobs.push_back(std::async(std::launch::async, writeLayer, ps, set, k));
    jobs.push_back(std::async(std::launch::async, writeErosionPattern, root));

    bool ok = true;
    for (const SetSpec& set : Sets)
        ok = writeFile(QDir(ps).filePath(QLatin1String(set.file)), definitionText(set)) && ok;
    ok = writeFile(QDir(root).filePath(QStringLiteral("Elevator.set")), linearElevatorRecord()) && ok;
    for (auto& job : jobs) ok = job.get() && ok;
    return ok ? 0 : 1;
}
