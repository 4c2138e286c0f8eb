#include "CCmdLineInfo.h"

#include "resource.h"

namespace dralin {

CCmdLineInfo::CCmdLineInfo() : CCmdLineInfoBase("Converts ensembles to text lines through a decoder file.")
{
    AddKey(dralin::kKeyInput, m_strInput, true, "FILE", "ensemble input file (its first part names a whole chain)");
    AddKey(dralin::kKeyOutput, m_strOutput, true, "FILE", "text output file");
    AddKey(dralin::kKeyDecoder, m_strDecoder, true, "FILE", "decoder file: which values go into the text, and how");
}

} // namespace dralin
