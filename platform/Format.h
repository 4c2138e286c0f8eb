#pragma once
#include <string>

namespace platform {

// printf-style formatting into a string. Numbers always use the C locale's
// decimal point: the programs set LC_NUMERIC to "C" at start.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace platform
