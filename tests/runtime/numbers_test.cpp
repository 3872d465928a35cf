#include "runtime/Numbers.h"

#include <gtest/gtest.h>

TEST(Numbers, ConversionRoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(rt::CInt(2.5), 2);
    EXPECT_EQ(rt::CInt(3.5), 4);
    EXPECT_EQ(rt::CInt(-2.5), -2);
    EXPECT_EQ(rt::CInt(40000.0), 32767);
    EXPECT_EQ(rt::CLng(-1e12), INT32_MIN);
    EXPECT_EQ(rt::IDiv(-7, 2), -3);
}
