#include "CCmdLineInfo.h"

#include "resource.h"

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(utility_text::kKeyInput, m_strInput, true);
    AddKey(utility_text::kKeyOutput, m_strOutput, true);
    AddKey(IDS_KEY_SIZE, m_strSize, false);
}
