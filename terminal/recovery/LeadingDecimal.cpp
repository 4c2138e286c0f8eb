#include "LeadingDecimal.h"

LeadingDecimal ReadLeadingDecimal(std::string_view text)
{
    LeadingDecimal number;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        ++number.digits;
        if (number.fits
            && (__builtin_mul_overflow(number.value, 10, &number.value)
                || __builtin_add_overflow(number.value, c - '0', &number.value)))
            number.fits = false;
    }
    return number;
}
