#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Splits a line into its comma-separated tokens, front to back. Blanks are
// kept; the last token runs to the end of the line; an exhausted line keeps
// giving empty tokens.
class CTokenCursor {
public:
    explicit CTokenCursor(std::string_view line) : m_rest(line) {}
    std::string_view Next();

private:
    std::string_view m_rest;
};

// The integer a token stands for under a record's scale and decimals, read in
// the C locale: scale 1.0 with no decimals reads a whole number (a fraction is
// dropped), anything else divides by the scale and rounds halves away from
// zero. Leading blanks are skipped, trailing characters ignored, and a token
// without a number gives 0. Empty when the value does not fit 64 bits.
std::optional<std::int64_t> TokenValue(std::string_view token, double scale, int decimals);

// x rounded half away from zero; empty when not finite or beyond 64 bits.
std::optional<std::int64_t> RoundHalfAwayFromZero(double x);

// x truncated toward zero; empty when not finite or beyond 64 bits.
std::optional<std::int64_t> TruncateTowardZero(double x);
