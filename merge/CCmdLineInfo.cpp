#include "CCmdLineInfo.h"

#include "resource.h"

namespace quenta {

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(quenta::kKeyInput, m_strInput, true);
    AddKey(quenta::kKeyOutput, m_strOutput, true);
    AddKey(quenta::kKeyDecoder, m_strDecoder, true);
    AddKey(quenta::kKeyAscii, m_strAscii, true);
}

} // namespace quenta
