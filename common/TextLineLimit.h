#pragma once
#include <cstddef>

// The longest line the utilities read from a text file (decoder, ASCII
// input). A file without line ends must not grow one line without bound.
inline constexpr std::size_t kMaxTextLineBytes = std::size_t{1} << 20;
