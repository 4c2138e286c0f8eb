#pragma once
#include <cstdint>
#include <string>

struct PartFileEntry {
    std::string m_strName;   // full path of the part
    std::uint64_t m_nSize = 0; // measured when the chain is opened
};
