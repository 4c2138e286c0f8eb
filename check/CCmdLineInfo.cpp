#include "CCmdLineInfo.h"

#include "resource.h"

namespace vostic {

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(IDS_KEY_IN, m_strInput, true);
    AddKey(IDS_KEY_OUT, m_strOutput, true);
    AddKey(IDS_KEY_START, m_strStart, false);
    AddKey(IDS_KEY_END, m_strEnd, false);
}

} // namespace vostic
