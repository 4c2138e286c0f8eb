#pragma once
#include <cstdint>
#include <string>

class CQelEns;

// View of the waves first leader (data type 0x0103), the packet that starts a burst.
class CWavesFirstLeader {
public:
    static constexpr std::uint16_t kId = 0x0103;

    explicit CWavesFirstLeader(const CQelEns* packet);
    virtual ~CWavesFirstLeader();
    void Free();

    bool IsPresent() const { return m_pData != nullptr; }
    std::uint16_t GetPingsPerBurst() const;
    std::uint32_t GetBurstNumber() const;
    // Burst start date and time as "yy/mm/dd hh:mm:ss.ff", bytes in stored order.
    std::string GetBurstStartText() const;

    std::uint8_t* m_pData = nullptr;
    bool m_bOwnData = false;
    int m_nSize = 0;
};
