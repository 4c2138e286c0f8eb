#pragma once
#include <string>

// The four data utilities as built.
inline const std::string kDralin = QSV_BINARY_DIR "/convert/dralin";
inline const std::string kQuenta = QSV_BINARY_DIR "/merge/quenta";
inline const std::string kVostic = QSV_BINARY_DIR "/check/vostic";
inline const std::string kPelmar = QSV_BINARY_DIR "/slice/pelmar";
