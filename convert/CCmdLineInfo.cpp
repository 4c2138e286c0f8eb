#include "CCmdLineInfo.h"

#include "resource.h"

namespace dralin {

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(dralin::kKeyInput, m_strInput, true);
    AddKey(dralin::kKeyOutput, m_strOutput, true);
    AddKey(dralin::kKeyDecoder, m_strDecoder, true);
}

} // namespace dralin
