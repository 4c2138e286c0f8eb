#pragma once
#include "UtilityTexts.h"

// Dralin's control ids; its strings are the shared ones.
namespace dralin {

constexpr int IDC_INPUT = 1001;
constexpr int IDC_OUTPUT = 1002;
constexpr int IDC_BROWSE_INPUT = 1003;
constexpr int IDC_BROWSE_OUTPUT = 1004;
constexpr int IDC_START = 1005;
constexpr int IDC_END = 1006;
constexpr int IDC_CONVERT = 1007;
constexpr int IDC_DECODER = 1008;
constexpr int IDC_BROWSE_DECODER = 1009;
constexpr int ID_HELP = 57670;
constexpr int IDOK = 1;

using namespace utility_text;

} // namespace dralin
