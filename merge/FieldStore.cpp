#include "FieldStore.h"

#include <cstdlib>
#include <limits>

namespace {

struct ValueRange {
    std::int64_t low;
    std::int64_t high;
};

bool IsWritableWidth(int width)
{
    return width == 1 || width == 2 || width == 4 || width == -1 || width == -2 || width == -4;
}

ValueRange AcceptedRange(int width)
{
    switch (width) {
    case 1: return {0, 0xFF};
    case 2: return {0, 0xFFFF};
    case -1: return {-128, 127};
    case -2: return {-32768, 32767};
    // Four bytes take any 32-bit value, signed or unsigned: the field keeps its bits.
    default: return {std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFFLL};
    }
}

void WriteLittleEndian(std::span<std::uint8_t> field, std::uint64_t bits)
{
    for (std::uint8_t& byte : field) {
        byte = static_cast<std::uint8_t>(bits & 0xFF);
        bits >>= 8;
    }
}

// The low bytes of v that a field of `width` holds, read back as the field reads.
std::int64_t HeldPart(int width, std::int64_t v)
{
    const unsigned bits = 8u * static_cast<unsigned>(std::abs(width));
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    const std::uint64_t low = static_cast<std::uint64_t>(v) & mask;
    const std::uint64_t signBit = std::uint64_t{1} << (bits - 1);
    if (width < 0 && (low & signBit) != 0)
        return static_cast<std::int64_t>(low) - static_cast<std::int64_t>(mask) - 1;
    return static_cast<std::int64_t>(low);
}

} // namespace

std::span<std::uint8_t> FieldAt(std::span<std::uint8_t> dataType, std::uint32_t offset, int width)
{
    const std::size_t length = static_cast<std::size_t>(std::abs(width));
    if (offset == 0 || length == 0 || offset - 1 + length > dataType.size())
        return {};
    return dataType.subspan(offset - 1, length);
}

bool StoreValue(int width, std::span<std::uint8_t> field, std::int64_t v)
{
    if (!IsWritableWidth(width))
        return true;
    const ValueRange range = AcceptedRange(width);
    if (v < range.low || v > range.high || field.size() != static_cast<std::size_t>(std::abs(width)))
        return false;
    WriteLittleEndian(field, static_cast<std::uint64_t>(v));
    return true;
}

double StoreSplit(int width, std::span<std::uint8_t> field, std::int64_t v)
{
    if (!IsWritableWidth(width) || field.size() != static_cast<std::size_t>(std::abs(width)))
        return static_cast<double>(v);
    const std::int64_t held = HeldPart(width, v);
    WriteLittleEndian(field, static_cast<std::uint64_t>(v));
    return static_cast<double>(v) - static_cast<double>(held);
}
