#pragma once
#include "UtilityTexts.h"

namespace pelmar {

// Controls of the main dialog (object names are these ids as text).
constexpr int IDC_MAX_SIZE = 1000;
constexpr int IDC_INPUT = 1001;
constexpr int IDC_OUTPUT_PREFIX = 1002;
constexpr int IDC_BROWSE_INPUT = 1003;
constexpr int IDC_BROWSE_OUTPUT = 1004;
constexpr int IDC_SLICE = 1007;
constexpr int ID_HELP = 57670;

// String table.
inline constexpr const char* IDS_PROGRAM_NAME = "Pelmar";
inline constexpr const char* IDS_BAD_PREFIX = "File prefix cannot contain extension.";
inline constexpr const char* IDS_BAD_SIZE =
    "The maximum file size is invalid or out of range.\n\r"
    "Valid range is 0.5 to 200 MB or 0 for unlimited file size.";
inline constexpr const char* IDS_NO_INPUT = "Please enter input file name.";
inline constexpr const char* IDS_NO_PREFIX = "Please enter output file name prefix.";
inline constexpr const char* IDS_KEY_SIZE = "size:"; // after the shared "in:" and "out:"

} // namespace pelmar
