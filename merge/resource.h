#pragma once

// Quenta's control ids and string table.
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

inline const char* const kCaption = "Quenta";
inline const char* const kMsgEnterInput = "Please enter input file name.";                 // 2003
inline const char* const kMsgEnterOutput = "Please enter output file name.";               // 2004
inline const char* const kMsgEnterDecoder = "Please enter decoder file name.";             // 2005
inline const char* const kMsgEnterAscii = "Please enter ASCII file name.";                 // 2006
inline const char* const kMsgSameFile = "Input and output file must have different name."; // 2007
inline const char* const kMsgNoEnsembles = "Input file does not contain valid ensembles."; // 2008
inline const char* const kMsgWriteFailed = "Problems with writing to output file.";        // 2011
// Shown only by an unattended run without a display, which has nobody to
// leave the dialog open for.
inline const char* const kMsgAsciiRanOut = "ASCII file %s ran out of lines before the end of the merge.";

inline const char* const kKeyInput = "in:";    // 3000
inline const char* const kKeyOutput = "out:";  // 3001
inline const char* const kKeyDecoder = "dec:"; // 3002
inline const char* const kKeyAscii = "ascii:"; // 3003

} // namespace quenta
