#pragma once
#include <cstddef>

// The most characters WriteFixed writes.
inline constexpr std::size_t kMaxFixedText = 1074 + 400;

// Writes `value` at `first` as printf("%.*f", decimals, value) prints it in the
// C locale (exact value, half to even, "-" for every negative sign, zero
// included) and returns the end. Decimals below 0 count as 0 and above 1074 as
// 1074: a double has no non-zero digit past its 1074th decimal, and the cap
// keeps a bad decoder from asking for gigabytes of zeros.
char* WriteFixed(char* first, double value, int decimals);
