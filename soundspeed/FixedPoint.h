#pragma once
#include <string>

// "%.*f" of value, always with "." as the decimal point whatever the
// process locale.
std::string FormatFixed(double value, int decimals);
