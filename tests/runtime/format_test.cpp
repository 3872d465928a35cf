#include "runtime/Numbers.h"
#include "tests/support/CommaLocale.h"

#include <gtest/gtest.h>

// The patterns the windows use, with the texts the platform gives for them.

TEST(Format, OptionalDigitsShowNothingForZero)
{
    EXPECT_EQ(rt::Format(0, "##"), "");
    EXPECT_EQ(rt::Format(3, "##"), "3");
    EXPECT_EQ(rt::Format(0, "####### Pixel"), " Pixel");
    EXPECT_EQ(rt::Format(-32768, "####### Pixel"), "-32768 Pixel");
}

TEST(Format, DigitsThatDoNotFitAreAllShown)
{
    EXPECT_EQ(rt::Format(12345, "####"), "12345");
    EXPECT_EQ(rt::Format(100000, "#####"), "100000");
    EXPECT_EQ(rt::Format(7680, "####### m"), "7680 m");
}

TEST(Format, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(rt::Format(2.5, "#######0"), "3");
    EXPECT_EQ(rt::Format(-2.5, "######0"), "-3");
    EXPECT_EQ(rt::Format(1234.4, "#####0"), "1234");
    EXPECT_EQ(rt::Format(-1.25, "####0.0"), "-1.3");
    EXPECT_EQ(rt::Format(2.675, "0.00"), "2.68");
    EXPECT_EQ(rt::Format(9.995, "0.00"), "10.00");
    EXPECT_EQ(rt::Format(0.0006103, "###0.000"), "0.001");
}

TEST(Format, NoMinusSignWhenTheRoundedValueIsZero)
{
    EXPECT_EQ(rt::Format(-0.04, "####0.0"), "0.0");
    EXPECT_EQ(rt::Format(-0.4, "######0"), "0");
}

TEST(Format, RequiredDigitsPadWithZeros)
{
    EXPECT_EQ(rt::Format(0, "#######0"), "0");
    EXPECT_EQ(rt::Format(5, "000"), "005");
    EXPECT_EQ(rt::Format(0, "####0.00"), "0.00");
    EXPECT_EQ(rt::Format(3.14159, "####0.00"), "3.14");
    EXPECT_EQ(rt::Format(12.3, "###0.000"), "12.300");
}

TEST(Format, OptionalDecimalsDropTrailingZerosButKeepThePoint)
{
    EXPECT_EQ(rt::Format(30, "#####.###"), "30.");
    EXPECT_EQ(rt::Format(12.3456, "#####.###"), "12.346");
    EXPECT_EQ(rt::Format(0.5, "#####.## TU"), ".5 TU");
    EXPECT_EQ(rt::Format(0, "#####.## TU"), ". TU");
    EXPECT_EQ(rt::Format(1234.5678, "#####.## TU"), "1234.57 TU");
    EXPECT_EQ(rt::Format(-10, "#####.## TU"), "-10. TU");
    EXPECT_EQ(rt::Format(150.25, "######.### m"), "150.25 m");
    EXPECT_EQ(rt::Format(1.5, "0.0#"), "1.5");
    EXPECT_EQ(rt::Format(1, "0.0#"), "1.0");
    EXPECT_EQ(rt::Format(1.25, "0.0#"), "1.25");
}

TEST(Format, PercentMultipliesByHundred)
{
    EXPECT_EQ(rt::Format(0.5, "### %"), "50 %");
    EXPECT_EQ(rt::Format(1, "### %"), "100 %");
    EXPECT_EQ(rt::Format(0, "### %"), " %");
    EXPECT_EQ(rt::Format(1, "###.##%"), "100.%");
    EXPECT_EQ(rt::Format(0.125, "###.##%"), "12.5%");
}

TEST(Format, LiteralsStayInPlace)
{
    EXPECT_EQ(rt::Format(5, "\\#0"), "#5");
    EXPECT_EQ(rt::Format(5, "\"No. \"0"), "No. 5");
    EXPECT_EQ(rt::Format(12.5, ".##"), "12.5");
    EXPECT_EQ(rt::Format(1234, "##-##"), "12-34");
}

TEST(Format, EmptyPatternGivesThePlainNumber)
{
    EXPECT_EQ(rt::Format(0.5, ""), "0.5");
    EXPECT_EQ(rt::Format(-0.5, ""), "-0.5");
    EXPECT_EQ(rt::Format(42, ""), "42");
}

TEST(Format, SinglesRoundAsTheyShow)
{
    EXPECT_EQ(rt::Format(2.675f, "0.00"), "2.68");
    EXPECT_EQ(rt::Format(0.1f, "0.000000000"), "0.100000000");
    EXPECT_EQ(rt::Format(int16_t(-5), "###0.0"), "-5.0");
}

// A German user's locale writes "6,370000e+03" through printf; the texts and
// the numbers read back stay those of the C locale.
TEST(NumbersUnderACommaLocale, TextsAndValuesAreThoseOfTheCLocale)
{
    CommaLocale german;
    SKIP_WITHOUT_COMMA_LOCALE(german);
    EXPECT_EQ(rt::Format(6370.0f, "#####0"), "6370");
    EXPECT_EQ(rt::Format(1.2345f, "#####.## TU"), "1.23 TU");
    EXPECT_EQ(rt::Format(2.675f, "0.00"), "2.68");
    EXPECT_EQ(rt::Format(1234.5678, "#####.## TU"), "1234.57 TU");
    EXPECT_EQ(rt::Format(0.5, ""), "0.5");
    EXPECT_EQ(rt::Str(6370.0f), " 6370");
    EXPECT_EQ(rt::Str(-2.5e20), "-2.5E+20");
    EXPECT_EQ(rt::Str(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(rt::Val("6370.5"), 6370.5);
    EXPECT_EQ(rt::Val(rt::Str(0.1f)), 0.1);
}
