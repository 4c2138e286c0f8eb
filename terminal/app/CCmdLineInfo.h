#pragma once
#include <string>
#include <vector>

// The terminal's command line: at most one script path, the last one given.
// Only a parameter beginning with "-" is a flag, so an absolute path is a path.
namespace parlim {

class CCmdLineInfo {
public:
    // Parses the parameters after the program name.
    void ParseCommandLine(const std::vector<std::string>& parameters);
    void ParseParam(const std::string& parameter, bool isFlag);

    std::string m_strScriptFile;
};

} // namespace parlim
