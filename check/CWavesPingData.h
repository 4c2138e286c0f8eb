#pragma once
#include <cstdint>

class CQelEns;

// View of the ping record (data type 0x0203) of one waves packet.
class CWavesPingData {
public:
    static constexpr std::uint16_t kId = 0x0203;

    explicit CWavesPingData(const CQelEns* packet);
    virtual ~CWavesPingData();
    void Free();

    bool IsPresent() const { return m_pData != nullptr; }
    // Number of the packet within its burst; bursts count from 1.
    std::uint16_t GetPacketNumber() const;

    std::uint8_t* m_pData = nullptr;
    bool m_bOwnData = false;
    int m_nSize = 0;
};
