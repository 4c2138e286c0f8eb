#include "CCmdLineInfo.h"

#include "resource.h"

namespace pelmar {

CCmdLineInfo::CCmdLineInfo() : CCmdLineInfoBase("Cuts a file into numbered slices at ensemble boundaries.")
{
    AddKey(utility_text::kKeyInput, m_strInput, true, "FILE", "ensemble input file (its first part names a whole chain)");
    AddKey(utility_text::kKeyOutput, m_strOutput, true, "PREFIX", "path and start of every slice name (PREFIX000.000, ...)");
    AddKey(IDS_KEY_SIZE, m_strSize, false, "MB", "largest slice in megabytes, 0.5 to 200 (0: no limit)");
}

} // namespace pelmar
