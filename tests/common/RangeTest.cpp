#include "CEnsembleRange.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Numbers processed before the run stops or the input ends.
std::vector<std::uint32_t> Processed(const char* start, const char* end,
                                     const std::vector<std::uint32_t>& numbers)
{
    CEnsembleRange range(CEnsembleRange::BoundFromText(start), CEnsembleRange::BoundFromText(end));
    std::vector<std::uint32_t> processed;
    for (std::uint32_t number : numbers) {
        const CEnsembleRange::Step step = range.Classify(number);
        if (step == CEnsembleRange::Step::Stop)
            break;
        if (step == CEnsembleRange::Step::Process)
            processed.push_back(number);
    }
    return processed;
}

using Numbers = std::vector<std::uint32_t>;

TEST(EnsembleRange, BoundsReadLikeAtolAsUnsigned)
{
    EXPECT_EQ(CEnsembleRange::BoundFromText("  42x"), 42u);
    EXPECT_EQ(CEnsembleRange::BoundFromText("+7"), 7u);
    EXPECT_EQ(CEnsembleRange::BoundFromText("abc"), 0u);
    EXPECT_EQ(CEnsembleRange::BoundFromText(""), 0u);
    EXPECT_EQ(CEnsembleRange::BoundFromText("-5"), 4294967291u);
    EXPECT_EQ(CEnsembleRange::BoundFromText("-1"), 4294967295u);
    // Past 32 bits the number stops at the limit: it never wraps round to 0.
    EXPECT_EQ(CEnsembleRange::BoundFromText("4294967296"), 2147483647u);
    EXPECT_EQ(CEnsembleRange::BoundFromText("-4294967297"), 2147483648u);
}

TEST(EnsembleRange, OpenBoundsTakeEverything)
{
    EXPECT_EQ(Processed("0", "0", {3, 1, 2}), (Numbers{3, 1, 2}));
    EXPECT_EQ(Processed("0", "-1", {3, 0xFFFFFF}), (Numbers{3, 0xFFFFFF}));
    EXPECT_TRUE(Processed("-5", "0", {1, 2, 0xFFFFFF}).empty());
}

TEST(EnsembleRange, LowerNumbersAfterTheStart)
{
    EXPECT_EQ(Processed("100", "0", {98, 99, 100, 101, 5, 6}), (Numbers{100, 101, 5, 6}));
    EXPECT_EQ(Processed("100", "200", {100, 150, 7, 160}), (Numbers{100, 150}));
}

TEST(EnsembleRange, FirstNumberAboveTheEndStops)
{
    EXPECT_EQ(Processed("0", "10", {5, 11, 3}), Numbers{5});
    EXPECT_TRUE(Processed("200", "100", {50, 150, 250, 120}).empty());
}

} // namespace
