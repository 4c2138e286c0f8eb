#include "CCmdLineInfo.h"

#include "FilePaths.h"

namespace parlim {

void CCmdLineInfo::ParseCommandLine(const std::vector<std::string>& parameters)
{
    for (const std::string& parameter : parameters) {
        bool isFlag = !parameter.empty() && parameter[0] == '-';
        ParseParam(isFlag ? parameter.substr(1) : parameter, isFlag);
    }
}

void CCmdLineInfo::ParseParam(const std::string& parameter, bool isFlag)
{
    if (isFlag || parameter.empty())
        return;
    std::string full = platform::FullPath(parameter);
    if (!full.empty())
        m_strScriptFile = full;
}

} // namespace parlim
