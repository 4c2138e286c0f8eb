#pragma once
#include "CCmdLineInfoBase.h"

#include <string>

// The slicer's command line: /in:<input> /out:<slice prefix> /size:<megabytes>.
namespace pelmar {

class CCmdLineInfo : public CCmdLineInfoBase {
public:
    CCmdLineInfo();

    std::string m_strInput;  // full path
    std::string m_strOutput; // full path of the slice prefix
    std::string m_strSize = "0"; // text after the key; "0" (no limit) without it
};

} // namespace pelmar
