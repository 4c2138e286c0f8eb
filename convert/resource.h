#pragma once

// Dralin's control ids and string table.
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

inline const char* const kMsgEnterInput = "Please enter input file name.";                 // 2003
inline const char* const kMsgEnterOutput = "Please enter output file name.";               // 2004
inline const char* const kMsgEnterDecoder = "Please enter decoder file name.";             // 2005
inline const char* const kMsgSameFile = "Input and output file must have different name."; // 2007
inline const char* const kMsgNoEnsembles = "Input file does not contain valid ensembles."; // 2008
inline const char* const kMsgWriteFailed = "Problems with writing to output file.";        // 2011

inline const char* const kKeyInput = "in:";    // 3000
inline const char* const kKeyOutput = "out:";  // 3001
inline const char* const kKeyDecoder = "dec:"; // 3002

} // namespace dralin
