#include "CCmdLineInfo.h"

#include "resource.h"

namespace vostic {

CCmdLineInfo::CCmdLineInfo()
    : CCmdLineInfoBase("Checks the ensembles of a file and writes a report.")
{
    AddKey(IDS_KEY_IN, m_strInput, true, "FILE", "ensemble file to check (its first part names a whole chain)");
    AddKey(IDS_KEY_OUT, m_strOutput, true, "FILE", "report (log) file");
    AddKey(IDS_KEY_START, m_strStart, false, "NUMBER", "first ensemble number checked (0: from the start)");
    AddKey(IDS_KEY_END, m_strEnd, false, "NUMBER", "last ensemble number checked (0: to the end)");
}

} // namespace vostic
