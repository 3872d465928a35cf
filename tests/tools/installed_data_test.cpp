// The data the build installs into the program folder: perlin sets the
// generator can cut a window from for any seed, the erosion pattern and the
// elevator set file the start-up reads.

#include "app/vbConfig.h"
#include "terrain/TerrainPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString programDir()
{
    return qEnvironmentVariable("KV_PROGRAM_DIR");
}

// Mean difference of horizontal neighbours: larger for finer noise.
double roughness(const QImage& grey)
{
    double sum = 0;
    for (int y = 0; y < grey.height(); y += 7) {
        const uchar* line = grey.constScanLine(y);
        for (int x = 1; x < grey.width(); ++x) sum += std::abs(int(line[x]) - int(line[x - 1]));
    }
    return sum / (double(grey.height() / 7) * (grey.width() - 1));
}

double correlation(const QImage& a, const QImage& b)
{
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0, n = 0;
    for (int y = 0; y < a.height(); y += 3) {
        const uchar* la = a.constScanLine(y);
        const uchar* lb = b.constScanLine(y);
        for (int x = 0; x < a.width(); x += 3, ++n) {
            sa += la[x];
            sb += lb[x];
            saa += double(la[x]) * la[x];
            sbb += double(lb[x]) * lb[x];
            sab += double(la[x]) * lb[x];
        }
    }
    const double cov = sab / n - (sa / n) * (sb / n);
    return cov / std::sqrt((saa / n - (sa / n) * (sa / n)) * (sbb / n - (sb / n) * (sb / n)));
}

class InstalledPerlinSets : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(programDir().isEmpty()) << "KV_PROGRAM_DIR is not set";
        vbConfig::PerlinSetTable.clear();
        vbConfig::LoadPerlinSets(programDir() + QStringLiteral("/PS"));
    }
    void TearDown() override { vbConfig::PerlinSetTable.clear(); }

    QImage layer(size_t set, int k) const
    {
        const QString path = programDir() + QStringLiteral("/PS/") + vbConfig::PerlinSetTable[set].layers[k];
        return LoadPicture(path).convertToFormat(QImage::Format_Grayscale8);
    }
};

} // namespace

TEST_F(InstalledPerlinSets, ThreeNamedSetsOfFiveLayers)
{
    ASSERT_GE(vbConfig::PerlinSetTable.size(), 3u);
    for (const auto& set : vbConfig::PerlinSetTable) {
        EXPECT_FALSE(set.name.isEmpty());
        for (const QString& layer : set.layers) EXPECT_FALSE(layer.isEmpty());
    }
}

TEST_F(InstalledPerlinSets, LayersAreSquareGreyAndHoldTheWindowForAnySeed)
{
    for (size_t s = 0; s < vbConfig::PerlinSetTable.size(); ++s)
        for (int k = 0; k < 5; ++k) {
            const QString path = programDir() + QStringLiteral("/PS/") + vbConfig::PerlinSetTable[s].layers[k];
            const QImage img = LoadPicture(path);
            ASSERT_FALSE(img.isNull()) << path.toStdString();
            EXPECT_EQ(img.width(), img.height());
            EXPECT_TRUE(img.isGrayscale());
            // The window starts at Int((S - E) * A / 1000 + 1) for A = 0..999
            // and spans E + 1 pixels; check it with S the picture's side and
            // with S four pixels less.
            for (int side : {img.height(), img.height() - 4})
                for (int e : {129, 257}) {
                    const int x0 = int(std::floor((side - e) * 999 / 1000.0 + 1));
                    EXPECT_LT(x0 + e, img.width()) << path.toStdString() << " E=" << e;
                }
        }
}

TEST_F(InstalledPerlinSets, LayersRunFromCoarseToFineAndAreIndependent)
{
    for (size_t s = 0; s < vbConfig::PerlinSetTable.size(); ++s) {
        QImage previous;
        for (int k = 0; k < 5; ++k) {
            const QImage img = layer(s, k);
            if (!previous.isNull()) {
                EXPECT_GT(roughness(img), roughness(previous) * 1.2) << "set " << s << " layer " << k;
                EXPECT_LT(std::abs(correlation(img, previous)), 0.2) << "set " << s << " layer " << k;
            }
            previous = img;
        }
    }
    ASSERT_GE(vbConfig::PerlinSetTable.size(), 2u);
    EXPECT_LT(std::abs(correlation(layer(0, 0), layer(1, 0))), 0.2);
}

TEST(InstalledData, ErosionPatternLoadsAndCoversTheTerrain)
{
    const QImage img = LoadPicture(programDir() + QStringLiteral("/erode0.flt"));
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 1025);
    EXPECT_GE(img.height(), 1025);
    const QImage grey = img.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_GT(roughness(grey), 0.5);  // a pattern, not a flat colour
}

TEST(InstalledData, ElevatorSetFileHoldsTheStraightCurve)
{
    QFile f(programDir() + QChar(u'/') + QLatin1String(vbConfig::DefaultElevatorFileName));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QByteArray data = f.readAll();
    ASSERT_GE(data.size(), 277);
    EXPECT_EQ(data.size() % 277, 0);
    EXPECT_EQ(data.left(20), QByteArray("Linear").leftJustified(20, ' '));
    // Byte k is the row drawn in column 256 - k: row k keeps every height.
    for (int k = 0; k < 256; ++k) EXPECT_EQ(uint8_t(data[20 + k]), k) << k;
    // Row 256 does not fit a byte; column 0 gets the nearest row, and never
    // row 0, whose cell doubles as the dialog's "accepted" flag.
    EXPECT_EQ(uint8_t(data[20 + 256]), 255);
}
