#pragma once

// Strings that several data utilities carry under the same string id, texts
// exactly as shown. Each program's other strings stay in its resource.h.
namespace utility_text {

inline const char* const kMsgEnterInput = "Please enter input file name.";                 // 2003
inline const char* const kMsgEnterOutput = "Please enter output file name.";               // 2004
inline const char* const kMsgEnterDecoder = "Please enter decoder file name.";             // 2005
inline const char* const kMsgSameFile = "Input and output file must have different name."; // 2007
inline const char* const kMsgNoEnsembles = "Input file does not contain valid ensembles."; // 2008
inline const char* const kMsgWriteFailed = "Problems with writing to output file.";        // 2011
inline const char* const kMsgNoMemory = "Not enough memory.";

inline const char* const kKeyInput = "in:";    // 3000
inline const char* const kKeyOutput = "out:";  // 3001
inline const char* const kKeyDecoder = "dec:"; // 3002

} // namespace utility_text
