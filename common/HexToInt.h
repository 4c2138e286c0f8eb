#pragma once
#include <string_view>

// Hexadecimal text (either letter case) to an integer; -1 as soon as a
// character is no hexadecimal digit. Empty text gives 0; long texts wrap.
int HexToInt(std::string_view text);
