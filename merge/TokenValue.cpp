#include "TokenValue.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

// 2^63, the first double beyond the signed 64-bit range.
constexpr double kInt64Limit = 9223372036854775808.0;

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

std::optional<std::int64_t> WholeNumber(const std::string& text)
{
    errno = 0;
    const long long value = strtoll_l(text.c_str(), nullptr, 10, ClassicLocale());
    if (errno == ERANGE)
        return std::nullopt;
    return static_cast<std::int64_t>(value);
}

double FloatingNumber(const std::string& text)
{
    return strtod_l(text.c_str(), nullptr, ClassicLocale());
}

} // namespace

std::string_view CTokenCursor::Next()
{
    const std::size_t comma = m_rest.find(',');
    if (comma == std::string_view::npos) {
        const std::string_view token = m_rest;
        m_rest = {};
        return token;
    }
    const std::string_view token = m_rest.substr(0, comma);
    m_rest.remove_prefix(comma + 1);
    return token;
}

std::optional<std::int64_t> TruncateTowardZero(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double whole = std::trunc(x);
    if (whole < -kInt64Limit || whole >= kInt64Limit)
        return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

std::optional<std::int64_t> RoundHalfAwayFromZero(double x)
{
    return TruncateTowardZero(x >= 0.0 ? x + 0.5 : x - 0.5);
}

std::optional<std::int64_t> TokenValue(std::string_view token, double scale, int decimals)
{
    // A copy ends the text at the token, so the reading cannot run on past it.
    const std::string text(token);
    if (scale == 1.0 && decimals == 0)
        return WholeNumber(text);
    return RoundHalfAwayFromZero(FloatingNumber(text) / scale);
}
