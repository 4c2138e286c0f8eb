#pragma once
// The decimal digits a reply or a transfer header starts with, read as a size.
#include <cstddef>
#include <cstdint>
#include <string_view>

struct LeadingDecimal {
    std::int64_t value = 0;
    std::size_t digits = 0;
    // False when the digits name a number beyond 64 bits.
    bool fits = true;
};

LeadingDecimal ReadLeadingDecimal(std::string_view text);
