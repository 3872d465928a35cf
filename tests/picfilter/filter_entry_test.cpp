// The filter entry: refusals, the re-entry guard, the fourth byte, size and
// format of the picture, and the colour splitter.

#include "picfilter/mFilterG.h"
#include "tests/picfilter/PictureTestSupport.h"
#include "tests/support/ScriptedUi.h"

#include "runtime/Ui.h"

#include <gtest/gtest.h>

#include <thread>

using namespace pictest;

namespace {

QImage sample5x5()
{
    std::vector<Bgr> pixels;
    for (int i = 0; i < 25; ++i) pixels.push_back({(i * 37) % 256, (i * 91 + 13) % 256, (255 - i * 11) % 256});
    QImage img = picture(5, 5, pixels);
    // Every pixel a different fourth byte.
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const QRgb v = img.pixel(x, y);
            img.setPixel(x, y, qRgba(qRed(v), qGreen(v), qBlue(v), 3 + 10 * (y * 5 + x)));
        }
    }
    return img;
}

} // namespace

TEST(SplitRGB, SplitsTheColourFormatIntoItsBytes)
{
    int32_t r = 0, g = 0, b = 0;
    mFilterG::SplitRGB(0x00336699, r, g, b);
    EXPECT_EQ(r, 0x99);
    EXPECT_EQ(g, 0x66);
    EXPECT_EQ(b, 0x33);
}

TEST(SplitRGB, RedKeepsTheSignOfANegativeColour)
{
    int32_t r = 0, g = 0, b = 0;
    mFilterG::SplitRGB(-1, r, g, b);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
}

struct Refusal {
    int32_t filter;
    int32_t param;
};

class FilterRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(FilterRefusal, LeavesPictureAndProgressUnchangedAndReportsNothingRan)
{
    QImage img = sample5x5();
    const QImage before = img.copy();
    int32_t progress = 42;
    EXPECT_FALSE(mFilterG::ApplyPictureFilter(GetParam().filter, img, GetParam().param, progress));
    EXPECT_EQ(img, before);
    EXPECT_EQ(progress, 42);
    EXPECT_FALSE(mFilterG::PictureFilterBusy());
    EXPECT_FALSE(rt::BusyFlag);
}

INSTANTIATE_TEST_SUITE_P(UnknownNumbersAndUnusableParameters, FilterRefusal,
                         testing::Values(Refusal{0, 0}, Refusal{33, 0}, Refusal{-1, 5}, Refusal{1, -8},
                                         Refusal{6, -1}, Refusal{15, 0}, Refusal{15, -3}, Refusal{21, 0},
                                         Refusal{22, 0}, Refusal{23, 0}, Refusal{31, 0}, Refusal{31, -100}));

TEST(FilterEntry, EmptyPictureIsRefused)
{
    QImage empty;
    int32_t progress = 9;
    EXPECT_FALSE(mFilterG::ApplyPictureFilter(mFilterG::pfInvert, empty, 0, progress));
    EXPECT_TRUE(empty.isNull());
    EXPECT_EQ(progress, 9);
    EXPECT_FALSE(mFilterG::PictureFilterBusy());
}

TEST(FilterEntry, ParametersNextToTheRefusedOnesRun)
{
    for (const Refusal r : {Refusal{1, -7}, Refusal{1, -9}, Refusal{6, 0}, Refusal{6, -2}, Refusal{15, 1},
                            Refusal{21, -1}, Refusal{23, 1}, Refusal{31, 1}}) {
        QImage img = sample5x5();
        EXPECT_TRUE(apply(r.filter, img, r.param).ran) << r.filter << " " << r.param;
    }
}

TEST(FilterEntry, EveryFilterKeepsSizeFormatAndFourthByteAndEndsAt100)
{
    for (int32_t filter = 1; filter <= 32; ++filter) {
        QImage img = sample5x5();
        const std::vector<int> fourth = channel(img, 3);
        const Result res = apply(filter, img, 3);
        EXPECT_TRUE(res.ran) << filter;
        EXPECT_EQ(res.progress, 100) << filter;
        EXPECT_EQ(img.size(), QSize(5, 5)) << filter;
        EXPECT_EQ(img.format(), QImage::Format_ARGB32) << filter;
        EXPECT_EQ(channel(img, 3), fourth) << filter;
        EXPECT_FALSE(mFilterG::PictureFilterBusy()) << filter;
        EXPECT_FALSE(rt::BusyFlag) << filter;
    }
}

TEST(FilterEntry, EveryFilterRunsOnOnePixelAndOneRow)
{
    for (int32_t filter = 1; filter <= 32; ++filter) {
        for (const QSize size : {QSize(1, 1), QSize(7, 1), QSize(1, 6)}) {
            QImage img = flatPicture(size.width(), size.height(), {40, 50, 60});
            const Result res = apply(filter, img, 3);
            EXPECT_TRUE(res.ran) << filter;
            EXPECT_EQ(res.progress, 100) << filter;
        }
    }
}

TEST(FilterEntry, OtherFormatsAreFilteredAndKeepTheirFormat)
{
    QImage rgb(3, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    EXPECT_TRUE(apply(mFilterG::pfInvert, rgb).ran);
    EXPECT_EQ(rgb.format(), QImage::Format_RGB888);
    EXPECT_EQ(rgb.pixelColor(2, 1), QColor(245, 235, 225));

    QImage grey(4, 3, QImage::Format_Grayscale8);
    grey.fill(QColor(100, 100, 100));
    EXPECT_TRUE(apply(mFilterG::pfInvert, grey).ran);
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(grey.pixel(3, 2)), 155);
}

TEST(FilterEntry, RGB32PictureKeepsItsOpaqueFourthByte)
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(QColor(1, 2, 3));
    EXPECT_TRUE(apply(mFilterG::pfDilate, img).ran);
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 255);
}

TEST(FilterEntry, ASharedCopyOfThePictureIsNotChanged)
{
    QImage img = flatPicture(3, 3, {10, 20, 30});
    const QImage shared = img;
    EXPECT_TRUE(apply(mFilterG::pfInvert, img).ran);
    EXPECT_EQ(at(shared, 1, 1), (Bgr{10, 20, 30}));
    EXPECT_EQ(at(img, 1, 1), (Bgr{245, 235, 225}));
}

namespace {

// Calls the filter entry again from inside the event pump, as an event
// handler would while a filter runs.
class ReenteringUi : public ScriptedUi {
public:
    void processEvents() override
    {
        ++pumpCount;
        QImage other = flatPicture(3, 3, {1, 2, 3});
        int32_t progress = 55;
        innerRan = mFilterG::ApplyPictureFilter(mFilterG::pfInvert, other, 0, progress);
        innerUnchanged = at(other, 1, 1) == Bgr{1, 2, 3} && progress == 55;
        busyInside = mFilterG::PictureFilterBusy();
    }
    bool innerRan = true;
    bool innerUnchanged = false;
    bool busyInside = false;
};

} // namespace

TEST(FilterEntry, ACallFromTheEventPumpWhileAFilterRunsDoesNothing)
{
    ReenteringUi ui;
    rt::setUi(&ui);
    // The pump is throttled; wait so that the filter's first pump goes through.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    QImage img = flatPicture(3, 3, {10, 20, 30});
    const Result res = apply(mFilterG::pfBlur, img);
    rt::setUi(&scriptedUi());
    ASSERT_GE(ui.pumpCount, 1);
    EXPECT_TRUE(ui.busyInside);
    EXPECT_FALSE(ui.innerRan);
    EXPECT_TRUE(ui.innerUnchanged);
    EXPECT_TRUE(res.ran);
    EXPECT_EQ(res.progress, 100);
    EXPECT_FALSE(mFilterG::PictureFilterBusy());
}

namespace {

class ThrowingUi : public ScriptedUi {
public:
    void processEvents() override { throw std::runtime_error("pump failed"); }
};

} // namespace

TEST(FilterEntry, BusyGuardIsReleasedWhenTheFilterIsLeftByAnException)
{
    ThrowingUi ui;
    rt::setUi(&ui);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    QImage img = flatPicture(3, 3, {10, 20, 30});
    EXPECT_THROW(apply(mFilterG::pfBlur, img), std::runtime_error);
    rt::setUi(&scriptedUi());
    EXPECT_FALSE(mFilterG::PictureFilterBusy());
    QImage again = flatPicture(3, 3, {10, 20, 30});
    EXPECT_TRUE(apply(mFilterG::pfInvert, again).ran);
}
