#include "FixedText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kMaxDecimals = 1074;
// 5 to this power still fits 64 bits, so a mantissa times it fits 128.
constexpr int kMaxExactDecimals = 27;

using Uint128 = unsigned __int128;

constexpr std::array<std::uint64_t, kMaxExactDecimals + 1> kPowersOf5 = [] {
    std::array<std::uint64_t, kMaxExactDecimals + 1> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();

// Rounds mantissa * 5^decimals * 2^shift to an integer, half to even; false
// when the result needs more than 64 bits.
bool RoundScaled(std::uint64_t mantissa, int decimals, int shift, std::uint64_t& result)
{
    const Uint128 product = static_cast<Uint128>(mantissa) * kPowersOf5[static_cast<std::size_t>(decimals)];
    if (shift >= 0) {
        if (shift >= 64 || (product >> (64 - shift)) != 0)
            return false;
        result = static_cast<std::uint64_t>(product << shift);
        return true;
    }
    const int dropped = -shift;
    if (dropped >= 128) { // product < 2^117: far below one half
        result = 0;
        return true;
    }
    Uint128 quotient = product >> dropped;
    const Uint128 remainder = product - (quotient << dropped);
    const Uint128 half = static_cast<Uint128>(1) << (dropped - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0))
        ++quotient;
    if ((quotient >> 64) != 0)
        return false;
    result = static_cast<std::uint64_t>(quotient);
    return true;
}

// |value| * 10^decimals rounded exactly; false for infinities, NaNs and
// results past 64 bits.
bool ScaleExactly(double value, int decimals, std::uint64_t& scaled)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (exponent == 0x7FF)
        return false;
    int shift = -1074; // subnormal
    if (exponent != 0) {
        mantissa |= std::uint64_t{1} << 52;
        shift = exponent - 1075;
    }
    return RoundScaled(mantissa, decimals, shift + decimals, scaled);
}

} // namespace

char* WriteFixed(char* first, double value, int decimals)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    std::uint64_t scaled = 0;
    if (decimals > kMaxExactDecimals || !ScaleExactly(value, decimals, scaled))
        return std::to_chars(first, first + kMaxFixedText, value, std::chars_format::fixed, decimals).ptr;

    char digits[24];
    char* const digitsEnd = std::to_chars(digits, digits + sizeof digits, scaled).ptr;
    const int integerDigits = static_cast<int>(digitsEnd - digits) - decimals;
    char* end = first;
    if (std::signbit(value))
        *end++ = '-';
    if (integerDigits > 0)
        end = std::copy(digits, digits + integerDigits, end);
    else
        *end++ = '0';
    if (decimals > 0) {
        *end++ = '.';
        if (integerDigits < 0)
            end = std::fill_n(end, -integerDigits, '0');
        end = std::copy(digits + std::max(integerDigits, 0), digitsEnd, end);
    }
    return end;
}
