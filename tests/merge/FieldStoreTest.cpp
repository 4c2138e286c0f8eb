#include "FieldStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct StoreCase {
    int width;
    std::int64_t v;
    Bytes expected; // the 4 bytes after the store; 0xAA where nothing was written
};

} // namespace

TEST(StoreValue, WritesInsideEachWidthsRangeOnlyAndNeverWritesThreeBytes)
{
    const Bytes untouched(4, 0xAA);
    const std::vector<StoreCase> cases = {
        {1, 255, {0xFF, 0xAA, 0xAA, 0xAA}}, {1, 256, untouched}, {1, -1, untouched},
        {2, 0x1234, {0x34, 0x12, 0xAA, 0xAA}}, {2, 65536, untouched},
        {-1, -128, {0x80, 0xAA, 0xAA, 0xAA}}, {-1, 128, untouched},
        {-2, -32768, {0x00, 0x80, 0xAA, 0xAA}}, {-2, -32769, untouched},
        {4, 4294967295LL, {0xFF, 0xFF, 0xFF, 0xFF}}, {4, -2147483648LL, {0x00, 0x00, 0x00, 0x80}},
        {4, 4294967296LL, untouched}, {4, -2147483649LL, untouched},
        {-4, -2, {0xFE, 0xFF, 0xFF, 0xFF}}, {-4, 2147483648LL, {0x00, 0x00, 0x00, 0x80}},
        {-4, 4294967296LL, untouched},
        {3, 5, untouched}, {-3, 5, untouched}};
    for (const StoreCase& c : cases) {
        Bytes field(4, 0xAA);
        const bool stored = StoreValue(c.width, std::span(field).first(static_cast<std::size_t>(std::abs(c.width))), c.v);
        EXPECT_EQ(field, c.expected) << c.width << " " << c.v;
        EXPECT_EQ(stored, field != untouched || std::abs(c.width) == 3) << c.width << " " << c.v;
    }
}

TEST(StoreSplit, KeepsTheLowBytesAndPassesTheRestOn)
{
    Bytes field(4, 0xAA);
    EXPECT_EQ(StoreSplit(2, std::span(field).first(2), 70000), 65536.0);
    EXPECT_EQ(field, (Bytes{0x70, 0x11, 0xAA, 0xAA}));
    EXPECT_EQ(StoreSplit(1, std::span(field).first(1), -1), -256.0);
    EXPECT_EQ(StoreSplit(-1, std::span(field).first(1), 200), 256.0);
    EXPECT_EQ(StoreSplit(-2, std::span(field).first(2), -40000), -65536.0);
    EXPECT_EQ(StoreSplit(4, std::span(field), -1), -4294967296.0);
    EXPECT_EQ(StoreSplit(-4, std::span(field), -7), 0.0);
    EXPECT_EQ(field, (Bytes{0xF9, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(StoreSplit(3, std::span(field).first(3), 1234), 1234.0);
    EXPECT_EQ(field, (Bytes{0xF9, 0xFF, 0xFF, 0xFF}));
}
