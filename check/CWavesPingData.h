#pragma once
#include "CRecordView.h"

// View of the ping record (data type 0x0203) of one waves packet.
class CWavesPingData : public CRecordView {
public:
    static constexpr std::uint16_t kId = 0x0203;

    explicit CWavesPingData(const CQelEns* packet);

    // Number of the packet within its burst; bursts count from 1.
    std::uint16_t GetPacketNumber() const;
};
