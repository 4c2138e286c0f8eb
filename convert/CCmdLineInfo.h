#pragma once
#include "CCmdLineInfoBase.h"

#include <string>

// Dralin's command line: "/in:", "/out:" and "/dec:", each taking a file name.
namespace dralin {

class CCmdLineInfo : public CCmdLineInfoBase {
public:
    CCmdLineInfo();

    std::string m_strInput;
    std::string m_strOutput;
    std::string m_strDecoder;
};

} // namespace dralin
