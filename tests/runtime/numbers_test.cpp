#include "runtime/Numbers.h"

#include <gtest/gtest.h>

#include <cfloat>

TEST(Numbers, ConversionRoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(rt::CInt(2.5), 2);
    EXPECT_EQ(rt::CInt(3.5), 4);
    EXPECT_EQ(rt::CInt(-2.5), -2);
    EXPECT_EQ(rt::CInt(-3.5), -4);
    EXPECT_EQ(rt::CInt(40000.0), 32767);
    EXPECT_EQ(rt::CInt(-40000.0), -32768);
    EXPECT_EQ(rt::CLng(2147483647.4), INT32_MAX);
    EXPECT_EQ(rt::CLng(1e12), INT32_MAX);
    EXPECT_EQ(rt::CLng(-1e12), INT32_MIN);
    EXPECT_EQ(rt::CLng(std::nan("")), 0);
}

TEST(Numbers, IntRoundsDownAndIDivTruncates)
{
    EXPECT_EQ(rt::Int(-0.5), -1.0);
    EXPECT_EQ(rt::Int(1.999), 1.0);
    EXPECT_EQ(rt::IDiv(-7, 2), -3);
    EXPECT_EQ(rt::IDiv(7, -2), -3);
    EXPECT_EQ(rt::IDiv(7, 0), 0);
    EXPECT_EQ(rt::IDiv(INT64_MIN, -1), INT64_MAX);
}

TEST(Numbers, RgbClampsComponents)
{
    EXPECT_EQ(rt::RGB(0, 192, 0), 0xC000u);
    EXPECT_EQ(rt::RGB(300, -5, 255), 0xFF00FFu);
}

TEST(Str, PutsBlankBeforeNonNegativeAndMinusBeforeNegative)
{
    EXPECT_EQ(rt::Str(10000), " 10000");
    EXPECT_EQ(rt::Str(-3), "-3");
    EXPECT_EQ(rt::Str(0), " 0");
    EXPECT_EQ(rt::Str(-0.0), " 0");
    EXPECT_EQ(rt::Str(int16_t(-32768)), "-32768");
    EXPECT_EQ(rt::Str(2049.0), " 2049");
}

TEST(Str, WritesFractionsWithoutLeadingZero)
{
    EXPECT_EQ(rt::Str(0.5), " .5");
    EXPECT_EQ(rt::Str(-0.25), "-.25");
    EXPECT_EQ(rt::Str(1.5), " 1.5");
    EXPECT_EQ(rt::Str(0.0001), " .0001");
    EXPECT_EQ(rt::Str(1.0 / 3.0), " .333333333333333");
}

TEST(Str, SinglesCarrySevenDigitsDoublesFifteen)
{
    EXPECT_EQ(rt::Str(0.1f), " .1");
    EXPECT_EQ(rt::Str(30.0f), " 30");
    EXPECT_EQ(rt::Str(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(rt::Str(0.1), " .1");
    EXPECT_EQ(rt::Str(123456789012345.0), " 123456789012345");
}

TEST(Str, LargeAndTinyNumbersGetAnExponent)
{
    EXPECT_EQ(rt::Str(1e15), " 1E+15");
    EXPECT_EQ(rt::Str(-2.5e20), "-2.5E+20");
    EXPECT_EQ(rt::Str(1e-5), " 1E-05");
    EXPECT_EQ(rt::Str(12345678.0f), " 1.234568E+07");
}

TEST(Val, ReadsTheLeadingNumber)
{
    EXPECT_EQ(rt::Val(" 10000"), 10000);
    EXPECT_EQ(rt::Val("12abc"), 12);
    EXPECT_EQ(rt::Val("-3.5e2"), -350);
    EXPECT_EQ(rt::Val("1.5D3"), 1500);
    EXPECT_EQ(rt::Val("+7"), 7);
    EXPECT_EQ(rt::Val("\t-.5"), -0.5);
    EXPECT_EQ(rt::Val("1.2.3"), 1.2);
    EXPECT_EQ(rt::Val("2e"), 2);
    EXPECT_EQ(rt::Val("2e+x"), 2);
    EXPECT_EQ(rt::Val("30,5"), 30);
}

TEST(Val, SkipsBlanksInsideTheNumber)
{
    EXPECT_EQ(rt::Val("1 2 3"), 123);
    EXPECT_EQ(rt::Val(" - 4"), -4);
}

TEST(Val, GivesZeroWhenThereIsNoNumber)
{
    EXPECT_EQ(rt::Val(""), 0);
    EXPECT_EQ(rt::Val("abc"), 0);
    EXPECT_EQ(rt::Val("."), 0);
    EXPECT_EQ(rt::Val("--1"), 0);
    EXPECT_EQ(rt::Val("&"), 0);
    EXPECT_EQ(rt::Val("&X1"), 0);
}

TEST(Val, ReadsHexAndOctalAsSixteenOrThirtyTwoBitValues)
{
    EXPECT_EQ(rt::Val("&HFF"), 255);
    EXPECT_EQ(rt::Val("&hff"), 255);
    EXPECT_EQ(rt::Val("&HFFFF"), -1);
    EXPECT_EQ(rt::Val("&H10000"), 65536);
    EXPECT_EQ(rt::Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(rt::Val("&H100000000"), 4294967296.0);
    EXPECT_EQ(rt::Val("&O17"), 15);
    EXPECT_EQ(rt::Val("&O8"), 0);
    EXPECT_EQ(rt::Val("&HFFFFFFFFFFFFFFFFFFFF"), 18446744073709551615.0);
}

TEST(Val, SaturatesHugeAndFlushesTinyNumbers)
{
    EXPECT_EQ(rt::Val("1E400"), DBL_MAX);
    EXPECT_EQ(rt::Val("-1E400"), -DBL_MAX);
    EXPECT_EQ(rt::Val("1E-400"), 0);
}

TEST(Val, ReadsBackWhatStrWrote)
{
    for (double v : {0.0, 1.0, -3.0, 0.5, -0.25, 1e15, 1e-5, 0.1, 65535.0, -32768.0})
        EXPECT_EQ(rt::Val(rt::Str(v)), v) << rt::Str(v).toStdString();
    EXPECT_EQ(rt::Val(rt::Str(0.1f)), 0.1);
}
