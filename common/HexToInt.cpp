#include "HexToInt.h"

namespace {

// Value of one hexadecimal digit, -1 for any other character. Written out so
// the user's locale cannot widen what counts as a letter.
int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

int HexToInt(std::string_view text)
{
    unsigned result = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return -1;
        // Unsigned arithmetic so an over-long text wraps instead of overflowing.
        result = result * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<int>(result);
}
