#include "TokenValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(TokenValue, PlainRecordsReadWholeNumbersAndDropFractions)
{
    EXPECT_EQ(TokenValue("3.7", 1.0, 0), 3);
    EXPECT_EQ(TokenValue("-3.7", 1.0, 0), -3);
    EXPECT_EQ(TokenValue("  42abc", 1.0, 0), 42);
    EXPECT_EQ(TokenValue("", 1.0, 0), 0);
    EXPECT_EQ(TokenValue("abc", 1.0, 0), 0);
    EXPECT_EQ(TokenValue("4294967295", 1.0, 0), 4294967295LL);
    EXPECT_EQ(TokenValue("-9223372036854775808", 1.0, 0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(TokenValue("9223372036854775808", 1.0, 0), std::nullopt);
}

TEST(TokenValue, ScaledRecordsDivideAndRoundHalvesAwayFromZero)
{
    EXPECT_EQ(TokenValue("12.34000000", 0.01, 8), 1234);
    EXPECT_EQ(TokenValue("-2.40", 0.01, 2), -240);
    EXPECT_EQ(TokenValue("2.5", 1.0, 2), 3);
    EXPECT_EQ(TokenValue("-2.5", 1.0, 2), -3);
    EXPECT_EQ(TokenValue("-5", 1.0, 2), -5);
    EXPECT_EQ(TokenValue("", 0.01, 2), 0);
    EXPECT_EQ(TokenValue("1e30", 0.01, 2), std::nullopt);
    EXPECT_EQ(TokenValue("5", 0.0, 8), std::nullopt);
    EXPECT_EQ(TokenValue("nan", 0.5, 1), std::nullopt);
}
