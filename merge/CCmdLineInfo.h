#pragma once
#include "CCmdLineInfoBase.h"

#include <string>

// The merger's command line: /in:<file> /out:<file> /dec:<file> /ascii:<file>.
namespace quenta {

class CCmdLineInfo : public CCmdLineInfoBase {
public:
    CCmdLineInfo();

    std::string m_strInput;
    std::string m_strOutput;
    std::string m_strDecoder;
    std::string m_strAscii;
};

} // namespace quenta
