#include "CCmdLineInfo.h"

#include "resource.h"

namespace quenta {

CCmdLineInfo::CCmdLineInfo()
    : CCmdLineInfoBase("Merges text values into the ensembles of a file through a decoder file.")
{
    AddKey(quenta::kKeyInput, m_strInput, true, "FILE", "ensemble input file (its first part names a whole chain)");
    AddKey(quenta::kKeyOutput, m_strOutput, true, "FILE", "ensemble output file");
    AddKey(quenta::kKeyDecoder, m_strDecoder, true, "FILE", "decoder file: where each value goes, and how");
    AddKey(quenta::kKeyAscii, m_strAscii, true, "FILE", "text file with the values, laid out as the converter writes them");
}

} // namespace quenta
