#pragma once
#include "UtilityTexts.h"

// Quenta's control ids and its own strings besides the shared ones.
namespace quenta {

constexpr int IDC_INPUT = 1001;
constexpr int IDC_OUTPUT = 1002;
constexpr int IDC_BROWSE_INPUT = 1003;
constexpr int IDC_BROWSE_OUTPUT = 1004;
constexpr int IDC_START = 1005;
constexpr int IDC_END = 1006;
constexpr int IDC_MERGE = 1007;
constexpr int IDC_DECODER = 1008;
constexpr int IDC_BROWSE_DECODER = 1009;
constexpr int IDC_ASCII = 1010;
constexpr int IDC_BROWSE_ASCII = 1011;
constexpr int ID_HELP = 57670;
constexpr int IDOK = 1;

using namespace utility_text;

inline const char* const kCaption = "Quenta";
inline const char* const kMsgEnterAscii = "Please enter ASCII file name."; // 2006
// Shown only by an unattended run without a display, which has nobody to
// leave the dialog open for.
inline const char* const kMsgAsciiRanOut = "ASCII file %s ran out of lines before the end of the merge.";
inline const char* const kMsgAsciiLineTooLong = "ASCII file %s has a line longer than %zu bytes.";

inline const char* const kKeyAscii = "ascii:"; // 3003

} // namespace quenta
