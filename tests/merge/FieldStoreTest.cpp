#include "FieldStore.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Stores v into a fresh 4-byte field filled with 0xAA and returns the bytes.
Bytes Stored(int width, std::int64_t v, bool* accepted = nullptr)
{
    Bytes bytes(4, 0xAA);
    const bool result = StoreValue(width, std::span(bytes).first(static_cast<std::size_t>(std::abs(width))), v);
    if (accepted != nullptr)
        *accepted = result;
    return bytes;
}

} // namespace

TEST(StoreValue, WritesLittleEndianInsideEachWidthsRange)
{
    EXPECT_EQ(Stored(1, 255), (Bytes{0xFF, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(Stored(2, 0x1234), (Bytes{0x34, 0x12, 0xAA, 0xAA}));
    EXPECT_EQ(Stored(-1, -128), (Bytes{0x80, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(Stored(-2, -32768), (Bytes{0x00, 0x80, 0xAA, 0xAA}));
    EXPECT_EQ(Stored(4, 4294967295LL), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Stored(4, -2147483648LL), (Bytes{0x00, 0x00, 0x00, 0x80}));
    EXPECT_EQ(Stored(-4, -2), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(StoreValue, LeavesTheFieldAloneOutsideTheRange)
{
    const Bytes untouched(4, 0xAA);
    struct Case { int width; std::int64_t v; };
    for (const Case c : {Case{1, 256}, Case{1, -1}, Case{2, 65536}, Case{2, -1}, Case{-1, 128},
                         Case{-1, -129}, Case{-2, 32768}, Case{-2, -32769}, Case{4, 4294967296LL},
                         Case{4, -2147483649LL}, Case{-4, 2147483648LL}, Case{-4, -2147483649LL}}) {
        bool accepted = true;
        EXPECT_EQ(Stored(c.width, c.v, &accepted), untouched) << c.width << " " << c.v;
        EXPECT_FALSE(accepted) << c.width << " " << c.v;
    }
}

TEST(StoreValue, ThreeByteWidthsNeverWriteButSucceed)
{
    for (const int width : {3, -3}) {
        bool accepted = false;
        EXPECT_EQ(Stored(width, 5, &accepted), Bytes(4, 0xAA));
        EXPECT_TRUE(accepted);
    }
}

TEST(FieldAt, GivesOnlyFieldsWhollyInsideTheDataType)
{
    std::array<std::uint8_t, 10> dataType{};
    EXPECT_EQ(FieldAt(dataType, 1, 2).data(), dataType.data());
    EXPECT_EQ(FieldAt(dataType, 9, -2).size(), 2u);
    EXPECT_EQ(FieldAt(dataType, 10, 1).data(), dataType.data() + 9);
    EXPECT_TRUE(FieldAt(dataType, 10, 2).empty());
    EXPECT_TRUE(FieldAt(dataType, 11, 1).empty());
    EXPECT_TRUE(FieldAt(dataType, 0, 1).empty());
    EXPECT_TRUE(FieldAt(dataType, 8, 4).empty());
    EXPECT_TRUE(FieldAt({}, 1, 1).empty());
}

TEST(StoreSplit, KeepsTheLowBytesAndPassesTheRestOn)
{
    Bytes field(4, 0xAA);
    EXPECT_EQ(StoreSplit(2, std::span(field).first(2), 70000), 65536.0);
    EXPECT_EQ(field, (Bytes{0x70, 0x11, 0xAA, 0xAA}));
    EXPECT_EQ(StoreSplit(1, std::span(field).first(1), -1), -256.0);
    EXPECT_EQ(field[0], 0xFF);
    EXPECT_EQ(StoreSplit(-1, std::span(field).first(1), 200), 256.0);
    EXPECT_EQ(field[0], 200);
    EXPECT_EQ(StoreSplit(-2, std::span(field).first(2), -40000), -65536.0);
    EXPECT_EQ(StoreSplit(4, std::span(field), 5), 0.0);
    EXPECT_EQ(StoreSplit(4, std::span(field), -1), -4294967296.0);
    EXPECT_EQ(field, Bytes(4, 0xFF));
    EXPECT_EQ(StoreSplit(-4, std::span(field), -7), 0.0);
    EXPECT_EQ(field, (Bytes{0xF9, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(StoreSplit(3, std::span(field).first(3), 1234), 1234.0);
    EXPECT_EQ(field, (Bytes{0xF9, 0xFF, 0xFF, 0xFF}));
}
