#include "FixedPoint.h"

#include <array>
#include <charconv>

std::string FormatFixed(double value, int decimals)
{
    // Room for the largest double written out in full with its decimals.
    std::array<char, 512> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}
