// Where each filter family reports progress and lets the event pump run: the
// progress value seen at every DoEvents call, on a 5 x 5 picture (H = 5).

#include "tests/picfilter/PictureTestSupport.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace pictest;
using namespace mFilterG;

namespace {

// The caller's progress at each DoEvents call, then its final value.
std::vector<int> pumpTrace(int32_t filter, QImage img, int32_t param = 3)
{
    int32_t progress = -7;
    std::vector<int> seen;
    scriptedUi().onPumpAsked = [&] { seen.push_back(progress); };
    mFilterG::ApplyPictureFilter(filter, img, param, progress);
    scriptedUi().onPumpAsked = nullptr;
    seen.push_back(progress);
    return seen;
}

QImage ramp5x5()
{
    std::vector<int> v;
    for (int i = 0; i < 25; ++i) v.push_back(i * 10);
    return greyPicture(5, 5, v);
}

using Trace = std::vector<int>;
// y x 100 \ 5 after each row, 100 at the end.
const Trace kAllRows{20, 40, 60, 80, 100, 100, 100};
// Rows 2..4 of a 3 x 3 filter still divide by H.
const Trace kInnerRows{40, 60, 80, 100, 100};
const Trace kRowsOneToFour{20, 40, 60, 80, 100, 100};
const Trace kNoPump{100};
// 5 first, then 5 + y x 95 \ 5.
const Trace kFromFive{5, 24, 43, 62, 81, 100, 100, 100};
// 2 (or 3), 10, then 10 + y x 90 \ 5.
const Trace kFloydSteinberg{2, 10, 28, 46, 64, 82, 100, 100, 100};
const Trace kBurkesStucki{3, 10, 28, 46, 64, 82, 100, 100, 100};

} // namespace

TEST(FilterProgress, EachFamilyReportsAndPumpsWhereItsRowsEnd)
{
    const std::vector<std::pair<int32_t, Trace>> cases = {
        {pfSharpen, kNoPump},  // writes progress but never pumps
        {pfInvert, kNoPump},
        {pfBlur, kInnerRows},
        {pfDiffuse, kAllRows},
        {pfSmooth, kInnerRows},
        {pfSharpenSoft, kInnerRows},
        {pfContour, kInnerRows},
        {pfEmbossDiagonalInverse, kRowsOneToFour},
        {pfEmbossWest, kInnerRows},
        {pfEmbossDiagonal, kRowsOneToFour},
        {pfEmbossEast, kInnerRows},
        {pfGreyscale, kAllRows},
        {pfEmbossSobel, kInnerRows},
        {pfBrightness, kAllRows},
        {pfMosaic, kAllRows},
        {pfSwapChannels, kAllRows},
        {pfContrast, kFromFive},
        {pfColourThreshold, kAllRows},
        {pfDitherCarry, kFromFive},
        {pfDitherOrdered, kAllRows},
        {pfDitherFloydSteinberg, kFloydSteinberg},
        {pfDitherBurkes, kBurkesStucki},
        {pfDitherStucki, kBurkesStucki},
        {pfAqua, {60, 100, 100}},
        {pfDilate, kInnerRows},
        {pfErode, kInnerRows},
        {pfInnerEdge, kInnerRows},
        // First pass y x 10 \ 5 and 10, second pass 10 + y x 90 \ 5.
        {pfAutoLevels, {2, 4, 6, 8, 10, 10, 28, 46, 64, 82, 100, 100, 100}},
        {pfNoise, kAllRows},
        {pfSaturation, kAllRows},
        {pfGamma, kAllRows},
        // Pumps after each row without writing progress.
        {pfMaskThreshold, {-7, -7, -7, -7, -7, 100, 100}},
    };
    for (const auto& [filter, expected] : cases) EXPECT_EQ(pumpTrace(filter, ramp5x5()), expected) << filter;
}

TEST(FilterProgress, AquaOnANarrowPictureStillReportsItsRows)
{
    // Rows 3 .. H - 2 of a 4 x 7 picture: none has a pixel to filter.
    const QImage narrow = greyPicture(4, 7, std::vector<int>(28, 90));
    EXPECT_EQ(pumpTrace(pfAqua, narrow), (Trace{42, 57, 71, 100, 100}));
}
