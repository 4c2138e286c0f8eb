#include "FixedText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

std::string Fixed(double value, int decimals)
{
    char buffer[kMaxFixedText];
    return std::string(buffer, WriteFixed(buffer, value, decimals));
}

// What printf("%.*f") prints in the C locale, whatever the process locale.
std::string Printf(double value, int decimals)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t previous = uselocale(cLocale);
    char buffer[kMaxFixedText + 8];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    uselocale(previous);
    return std::string(buffer, static_cast<std::size_t>(length));
}

void ExpectSameAsPrintf(double value, int decimals)
{
    EXPECT_EQ(Fixed(value, decimals), Printf(value, decimals))
        << "value " << std::hexfloat << value << " decimals " << decimals;
}

TEST(FixedText, MatchesPrintfForScaledFieldValues)
{
    const double scales[] = {0.5, 0.1, 0.01, 0.001, 1e-7, 0.045, 3.0517578125e-05, 2.5, -0.25, 1.0 / 3, 1e10, 7e15};
    std::mt19937_64 random(12345);
    std::uniform_int_distribution<std::int64_t> raw(-2147483648LL, 4294967295LL);
    std::uniform_int_distribution<int> decimals(0, 14);
    for (int i = 0; i < 200000 && !HasFailure(); ++i) {
        const double scale = scales[static_cast<std::size_t>(i) % std::size(scales)];
        ExpectSameAsPrintf(static_cast<double>(raw(random)) * scale, decimals(random));
    }
}

TEST(FixedText, MatchesPrintfForAnyFiniteDouble)
{
    std::mt19937_64 random(678);
    std::uniform_int_distribution<int> anyDecimals(0, 30);
    // Exponents near 0 reach the exact 64-bit path; the rest the general one.
    std::uniform_int_distribution<int> exponent(1023 - 80, 1023 + 80);
    for (int i = 0; i < 200000 && !HasFailure(); ++i) {
        std::uint64_t bits = random();
        if (i % 4 != 0)
            bits = (bits & 0x800FFFFFFFFFFFFFULL) | static_cast<std::uint64_t>(exponent(random)) << 52;
        const double value = std::bit_cast<double>(bits);
        if (std::isfinite(value))
            ExpectSameAsPrintf(value, anyDecimals(random));
    }
    for (int decimals : {0, 17, 100, 340, 1074})
        for (double value : {5e-324, -2.2250738585072014e-308, 1.7976931348623157e308, 0.1, 123456.789})
            ExpectSameAsPrintf(value, decimals);
}

TEST(FixedText, HalvesRoundToEvenOnTheExactValue)
{
    EXPECT_EQ(Fixed(0.125, 2), "0.12");
    EXPECT_EQ(Fixed(0.375, 2), "0.38");
    EXPECT_EQ(Fixed(2.5, 0), "2");
    EXPECT_EQ(Fixed(-3.5, 0), "-4");
    EXPECT_EQ(Fixed(0.135, 2), "0.14"); // just above the half as a double
    EXPECT_EQ(Fixed(0.145, 2), "0.14"); // just below it
    // Times ten in doubles these land on the half; their exact values lie to one side.
    EXPECT_EQ(Fixed(0.15, 1), "0.1");
    EXPECT_EQ(Fixed(0.45, 1), "0.5");
    EXPECT_EQ(Fixed(1.15, 1), "1.1");
    EXPECT_EQ(Fixed(-2.45, 1), "-2.5");
    for (int decimals = 1; decimals <= 4; ++decimals)
        for (int k = 0; k < 20000 && !HasFailure(); ++k)
            ExpectSameAsPrintf((k + 0.5) / std::pow(10.0, decimals), decimals);
    std::mt19937_64 random(9);
    for (int i = 0; i < 100000 && !HasFailure(); ++i) {
        const int places = static_cast<int>(random() % 12) + 1;
        const double value = std::ldexp(static_cast<double>(random() % 2000000) - 1000000.0, -places);
        ExpectSameAsPrintf(value, static_cast<int>(random() % static_cast<std::uint64_t>(places)));
    }
}

TEST(FixedText, NegativeValuesKeepTheirSignAtZero)
{
    EXPECT_EQ(Fixed(-0.0, 2), "-0.00");
    EXPECT_EQ(Fixed(-0.001, 2), "-0.00");
    EXPECT_EQ(Fixed(-0.4, 0), "-0");
    EXPECT_EQ(Fixed(0.0, 0), "0");
    EXPECT_EQ(Fixed(0.001, 2), "0.00");
    for (int decimals = 0; decimals < 30; ++decimals) {
        ExpectSameAsPrintf(-0.0, decimals);
        ExpectSameAsPrintf(-1e-40, decimals);
    }
}

TEST(FixedText, DecimalsOutsideTheUsefulRangeAreCapped)
{
    EXPECT_EQ(Fixed(1.25, -3), "1");
    EXPECT_EQ(Fixed(0.1, 5000), Printf(0.1, 1074));
    EXPECT_EQ(Fixed(-1.7976931348623157e308, 5000).size(), 1 + 309 + 1 + 1074u);
}

TEST(FixedText, NonFiniteValuesPrintAsPrintfDoes)
{
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Fixed(infinity, 2), Printf(infinity, 2));
    EXPECT_EQ(Fixed(-infinity, 0), Printf(-infinity, 0));
    EXPECT_EQ(Fixed(std::numeric_limits<double>::quiet_NaN(), 3),
              Printf(std::numeric_limits<double>::quiet_NaN(), 3));
}

} // namespace
