#include "FixedText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr int kMaxDecimals = 1074;
// 5 to this power still fits 64 bits, so a mantissa times it fits 128.
constexpr int kMaxExactDecimals = 27;

using Uint128 = unsigned __int128;

constexpr std::array<std::uint64_t, 20> kPowersOf10 = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

constexpr std::array<double, 23> kExactPowersOf10 = [] {
    std::array<double, 23> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

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

// The same in double arithmetic, which most values allow: 10^decimals is exact
// up to 10^22, the product is within half an ulp of the exact one, and away
// from a halfway point that error cannot change the rounding. False when the
// exact way has to decide.
bool ScaleQuickly(double value, int decimals, std::uint64_t& scaled)
{
    if (decimals >= static_cast<int>(kExactPowersOf10.size()))
        return false;
    const double product = std::fabs(value) * kExactPowersOf10[static_cast<std::size_t>(decimals)];
    if (!(product < 0x1p50)) // the margin below then stays under 1/4; also NaN
        return false;
    const auto whole = static_cast<std::uint64_t>(product);
    const double fraction = product - static_cast<double>(whole); // exact
    if (std::fabs(fraction - 0.5) <= product * 0x1p-52)
        return false;
    scaled = whole + (fraction > 0.5 ? 1 : 0);
    return true;
}

// Decimal digits of `value`, at least 1.
int DigitCount(std::uint64_t value)
{
    const int estimate = static_cast<int>((std::bit_width(value | 1) * 1233) >> 12); // bits * log10(2)
    return estimate + 1 - (value < kPowersOf10[static_cast<std::size_t>(estimate)] ? 1 : 0);
}

// Writes the last `count` digits of `value`, leading zeros included, so that
// they end at `end`; answers the digits left over.
template <std::unsigned_integral Number>
Number WriteDigitsBackward(char* end, Number value, int count)
{
    static constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                                          "25262728293031323334353637383940414243444546474849"
                                          "50515253545556575859606162636465666768697071727374"
                                          "75767778798081828384858687888990919293949596979899";
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (count == 1) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return value;
}

// The text of `scaled` / 10^decimals, `negative` giving the sign.
template <std::unsigned_integral Number>
char* WriteScaled(char* first, Number scaled, int decimals, bool negative)
{
    const int integerDigits = std::max(DigitCount(scaled) - decimals, 1);
    char* const end = first + (negative ? 1 : 0) + integerDigits + (decimals > 0 ? decimals + 1 : 0);
    char* digits = end;
    if (decimals > 0) {
        scaled = WriteDigitsBackward(digits, scaled, decimals);
        digits -= decimals;
        *--digits = '.';
    }
    WriteDigitsBackward(digits, scaled, integerDigits);
    if (negative)
        *first = '-';
    return end;
}

} // namespace

char* WriteFixed(char* first, double value, int decimals)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    std::uint64_t scaled = 0;
    if (!ScaleQuickly(value, decimals, scaled) &&
        (decimals > kMaxExactDecimals || !ScaleExactly(value, decimals, scaled)))
        return std::to_chars(first, first + kMaxFixedText, value, std::chars_format::fixed, decimals).ptr;

    const bool negative = std::signbit(value);
    // Most field values fit 32 bits, where a digit pair costs a cheaper division.
    if (scaled <= std::numeric_limits<std::uint32_t>::max())
        return WriteScaled(first, static_cast<std::uint32_t>(scaled), decimals, negative);
    return WriteScaled(first, scaled, decimals, negative);
}
