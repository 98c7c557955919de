// Rounding of reals to integers: ties to even, and no undefined conversion for any input.
#include "host/rtl/Math.h"

#include <gtest/gtest.h>

#include <limits>

TEST(RtlMath, RoundTruncFloorOfOrdinaryValues)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Trunc(-1.75), -1);
    EXPECT_EQ(Floor(-1.25L), -2);
    EXPECT_EQ(Floor(7.0), 7);
}

TEST(RtlMath, NonFiniteAndHugeValuesSaturate)
{
    constexpr auto Max = std::numeric_limits<std::int64_t>::max();
    constexpr auto Min = std::numeric_limits<std::int64_t>::min();
    const double Inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Trunc(Inf), Max);
    EXPECT_EQ(Floor(-Inf), Min);
    EXPECT_EQ(Round(1e300L), Max);
    EXPECT_EQ(Round(-9223372036854775808.0), Min);
}

#include "host/rtl/SysUtils.h"

TEST(RtlSameText, AsciiLettersIgnoreCaseOtherCharactersMustMatch)
{
    EXPECT_TRUE(SameText("clBtnFace", "CLBTNFACE"));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_FALSE(SameText("Khaki", QString::fromUtf8("\u212Ahaki")));
    EXPECT_FALSE(SameText("Silver", QString::fromUtf8("\u017Filver")));
    EXPECT_FALSE(SameText(QString::fromUtf8("\u00E9"), QString::fromUtf8("\u00C9"))) << "only ASCII letters fold";
    EXPECT_FALSE(SameText("Tan", "Tan "));
}
