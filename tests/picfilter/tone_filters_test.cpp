// Tone filters: automatic levels, noise, saturation and gamma.

#include "tests/picfilter/PictureTestSupport.h"

#include "runtime/Rnd.h"

#include <gtest/gtest.h>

using namespace pictest;
using namespace mFilterG;

TEST(AutoLevels, StretchesEachChannelOnItsOwnWithHalvesToEven)
{
    // Blue 50..150: 100 -> 127.5 -> 128. Green 0..6: 1 -> 42.5 -> 42.
    QImage img = picture(3, 1, {{50, 0, 77}, {100, 1, 77}, {150, 6, 77}});
    apply(pfAutoLevels, img);
    EXPECT_EQ(channel(img, 0), (std::vector<int>{0, 128, 255}));
    EXPECT_EQ(channel(img, 1), (std::vector<int>{0, 42, 255}));
    // Red has one value throughout: there is no range to stretch, it stays.
    EXPECT_EQ(channel(img, 2), (std::vector<int>{77, 77, 77}));
}

TEST(AutoLevels, FlatPictureStaysAsItIs)
{
    QImage img = flatPicture(3, 2, {0, 128, 255});
    const QImage before = img.copy();
    const Result res = apply(pfAutoLevels, img);
    EXPECT_TRUE(res.ran);
    EXPECT_EQ(res.progress, 100);
    EXPECT_EQ(img, before);
}

TEST(Noise, ZeroAmplitudeAddsZeroOrOne)
{
    rt::Randomize(3.0);
    QImage img = greyPicture(4, 3, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 255});
    const std::vector<int> before = channel(img, 0);
    apply(pfNoise, img, 0);
    for (int c = 0; c < 3; ++c) {
        const std::vector<int> after = channel(img, c);
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_GE(after[i], before[i]);
            EXPECT_LE(after[i], std::min(before[i] + 1, 255));
        }
    }
}

TEST(Noise, SeededDrawsGoBlueGreenRedOverTwoAPlusOneSteps)
{
    // a = 1: round(3 r - 1 + v). Seed 1 draws 0.0126, 0.4169, 0.7237 for the
    // first pixel (-0.96, 0.25, 1.17) and 0.9535, 0.1701, 0.8167 for the second
    // (1.86, -0.49, 1.45); 254 + 2 is clamped.
    rt::Randomize(1.0);
    QImage img = picture(2, 1, {{100, 100, 100}, {254, 100, 100}});
    apply(pfNoise, img, 1);
    EXPECT_EQ(at(img, 0, 0), (Bgr{99, 100, 101}));
    EXPECT_EQ(at(img, 1, 0), (Bgr{255, 100, 101}));
}

TEST(Noise, StaysWithinTheAmplitudeAndTheByteRange)
{
    rt::Randomize(11.0);
    QImage img = greyPicture(8, 8, std::vector<int>(64, 250));
    apply(pfNoise, img, 13);
    bool changed = false;
    for (int c = 0; c < 3; ++c) {
        for (int v : channel(img, c)) {
            EXPECT_GE(v, 237);
            EXPECT_LE(v, 255);
            changed = changed || v != 250;
        }
    }
    EXPECT_TRUE(changed);
}

TEST(Noise, HugeAmplitudeOnlyDrivesValuesToTheEnds)
{
    QImage img = greyPicture(4, 1, {0, 100, 200, 255});
    EXPECT_TRUE(apply(pfNoise, img, 2147483647).ran);
    for (int v : channel(img, 1)) EXPECT_TRUE(v == 0 || v == 255) << v;
}

TEST(Saturation, GreyPixelsStayForEveryChange)
{
    for (int p : {-100, -30, 50, 100, 1000}) {
        QImage img = greyPicture(3, 1, {0, 77, 255});
        const QImage before = img.copy();
        apply(pfSaturation, img, p);
        EXPECT_EQ(img, before) << p;
    }
}

TEST(Saturation, DoublesOrRemovesTheDistanceFromGrey)
{
    QImage img = picture(1, 1, {{100, 100, 130}});
    apply(pfSaturation, img, 100);
    EXPECT_EQ(at(img, 0, 0), (Bgr{90, 90, 150}));
    QImage grey = picture(1, 1, {{100, 100, 130}});
    apply(pfSaturation, grey, -100);
    EXPECT_EQ(at(grey, 0, 0), (Bgr{110, 110, 110}));
}

TEST(Saturation, RoundsHalvesToEven)
{
    // Grey 99, factor 0.5: blue 100.5 -> 100, red 97.5 -> 98.
    QImage img = picture(1, 1, {{100, 99, 98}});
    apply(pfSaturation, img, 50);
    EXPECT_EQ(at(img, 0, 0), (Bgr{100, 99, 98}));
}

TEST(Gamma, CurveKeepsTheEndsAndMovesTheMidTones)
{
    QImage img = greyPicture(4, 1, {0, 64, 128, 255});
    const QImage before = img.copy();
    apply(pfGamma, img, 100);
    EXPECT_EQ(img, before);
    apply(pfGamma, img, 200);  // 64 -> 255 * sqrt(64 / 255) = 127.75 -> 128
    EXPECT_EQ(greys(img)[0], 0);
    EXPECT_EQ(greys(img)[1], 128);
    EXPECT_EQ(greys(img)[3], 255);
    QImage dark = greyPicture(1, 1, {128});
    apply(pfGamma, dark, 50);  // 255 * (128 / 255)^2 = 64.25
    EXPECT_EQ(greys(dark)[0], 64);
}
