#include "CCmdLineInfo.h"

#include "resource.h"

CCmdLineInfo::CCmdLineInfo()
{
    AddKey(IDS_KEY_INPUT, m_strInput, true);
    AddKey(IDS_KEY_OUTPUT, m_strOutput, true);
    AddKey(IDS_KEY_SIZE, m_strSize, false);
}
