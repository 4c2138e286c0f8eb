#pragma once
#include "CCmdLineInfoBase.h"

#include <string>

// The checker's command line: /in:<file> /out:<log> /start:<n> /end:<n>.
namespace vostic {

class CCmdLineInfo : public CCmdLineInfoBase {
public:
    CCmdLineInfo();

    std::string m_strInput;
    std::string m_strOutput;
    std::string m_strStart;
    std::string m_strEnd;
};

} // namespace vostic
