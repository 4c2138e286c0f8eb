#include "CCmdLineInfo.h"

#include "resource.h"

namespace pelmar {

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(utility_text::kKeyInput, m_strInput, true);
    AddKey(utility_text::kKeyOutput, m_strOutput, true);
    AddKey(IDS_KEY_SIZE, m_strSize, false);
}

} // namespace pelmar
