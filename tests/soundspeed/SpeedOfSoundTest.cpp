#include "FixedPoint.h"
#include "SpeedOfSound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SpeedOfSoundTest, EquationsMatchTheirCheckValues)
{
    EXPECT_NEAR(NineTermSpeedOfSound(25, 35, 1000), 1550.744, 0.0005);
    EXPECT_NEAR(SimpleSpeedOfSound(10, 35, 0), 1489.99, 1e-9);
    EXPECT_NEAR(SimpleSpeedOfSound(25, 35, 1000), 1550.4, 0.05);
    // Worked by hand away from S = 35, where the salinity terms count.
    EXPECT_NEAR(NineTermSpeedOfSound(10, 30, 2000), 1516.828788, 1e-6);
    EXPECT_NEAR(SimpleSpeedOfSound(20, 30, 100), 1517.42, 1e-9);
}

TEST(SpeedOfSoundTest, DeepColdSalineWaterUsesTheNineTermEquation)
{
    EXPECT_EQ(FormatFixed(ComputeSpeedOfSound(5, 35, 2000), 1), "1503.9");
    EXPECT_EQ(ComputeSpeedOfSound(5, 35, 2000), NineTermSpeedOfSound(5, 35, 2000));
    EXPECT_EQ(FormatFixed(ComputeSpeedOfSound(30, 35, 2000), 1), "1577.5");
    EXPECT_EQ(ComputeSpeedOfSound(30, 35, 2000), SimpleSpeedOfSound(30, 35, 2000));
}

TEST(SpeedOfSoundTest, SelectionBoundsAreExact)
{
    EXPECT_TRUE(UsesNineTermEquation(25, 30, 1001));
    EXPECT_FALSE(UsesNineTermEquation(25, 29.9999, 1001));
    EXPECT_TRUE(UsesNineTermEquation(29.9999, 35, 1001));
    EXPECT_FALSE(UsesNineTermEquation(30, 35, 1001));
    EXPECT_FALSE(UsesNineTermEquation(25, 35, 1000));
    EXPECT_TRUE(UsesNineTermEquation(25, 35, 1000.0001));

    EXPECT_EQ(ComputeSpeedOfSound(25, 35, 1000), SimpleSpeedOfSound(25, 35, 1000));
    EXPECT_EQ(ComputeSpeedOfSound(25, 35, 1000.0001), NineTermSpeedOfSound(25, 35, 1000.0001));
    // The two equations agree to within a metre per second at the depth bound.
    EXPECT_NEAR(ComputeSpeedOfSound(25, 35, 1000), ComputeSpeedOfSound(25, 35, 1000.0001), 1.0);
}

TEST(SpeedOfSoundTest, NaNSelectsTheSimpleEquation)
{
    EXPECT_FALSE(UsesNineTermEquation(kNaN, 35, 2000));
    EXPECT_FALSE(UsesNineTermEquation(5, kNaN, 2000));
    EXPECT_FALSE(UsesNineTermEquation(5, 35, kNaN));
}

TEST(RoundToDecimalsTest, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(RoundToDecimals(2.5, 0), 3.0);
    EXPECT_EQ(RoundToDecimals(-2.5, 0), -3.0);
    EXPECT_EQ(RoundToDecimals(2.4999, 0), 2.0);
    EXPECT_EQ(RoundToDecimals(45.00004, 4), 45.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(45.0001, 4), 45.0001);
    EXPECT_DOUBLE_EQ(RoundToDecimals(-4.99996, 4), -5.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(1489.99, 1), 1490.0);
}

TEST(RoundToDecimalsTest, NegativeDecimalsLeaveTheValue)
{
    EXPECT_EQ(RoundToDecimals(1.23456, -1), 1.23456);
}

TEST(RoundToDecimalsTest, SmallNegativeValueRoundsToPlainZero)
{
    const double rounded = RoundToDecimals(-0.00004, 4);
    EXPECT_EQ(rounded, 0.0);
    EXPECT_FALSE(std::signbit(rounded));
}

TEST(RoundToDecimalsTest, ValuesBeyond32BitsAndNaNStayOutOfRange)
{
    EXPECT_EQ(RoundToDecimals(300000.0, 4), 300000.0);
    EXPECT_FALSE(IsValidTemperature(RoundToDecimals(300000.0, 4)));
    EXPECT_EQ(RoundToDecimals(-2147483648.0, 4), -2147483648.0);
    EXPECT_FALSE(IsValidDepth(RoundToDecimals(-2147483648.0, 4)));
    EXPECT_TRUE(std::isnan(RoundToDecimals(kNaN, 4)));
}

TEST(RangeCheckTest, BoundsAreInclusiveAndNaNIsInvalid)
{
    const struct {
        bool (*isValid)(double);
        double minimum;
        double maximum;
    } ranges[] = {
        {IsValidTemperature, -5, 45},
        {IsValidSalinity, 0, 50},
        {IsValidDepth, 0, 10000},
        {IsValidReference, 1400, 1600},
    };
    for (const auto& range : ranges) {
        EXPECT_TRUE(range.isValid(range.minimum)) << range.minimum;
        EXPECT_TRUE(range.isValid(range.maximum)) << range.maximum;
        EXPECT_FALSE(range.isValid(range.minimum - 0.0001)) << range.minimum;
        EXPECT_FALSE(range.isValid(range.maximum + 0.0001)) << range.maximum;
        EXPECT_FALSE(range.isValid(kNaN)) << range.minimum;
    }
}

} // namespace
