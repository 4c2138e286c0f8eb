#pragma once
#include <cstdint>

class CQelEns;

// View of the waves last leader (data type 0x0303), the packet that ends a burst.
class CWavesLastLeader {
public:
    static constexpr std::uint16_t kId = 0x0303;

    explicit CWavesLastLeader(const CQelEns* packet);
    virtual ~CWavesLastLeader();
    void Free();

    bool IsPresent() const { return m_pData != nullptr; }

    std::uint8_t* m_pData = nullptr;
    bool m_bOwnData = false;
    int m_nSize = 0;
};
