#pragma once
#include "CRecordView.h"

#include <string>

// View of the waves first leader (data type 0x0103), the packet that starts a burst.
class CWavesFirstLeader : public CRecordView {
public:
    static constexpr std::uint16_t kId = 0x0103;

    explicit CWavesFirstLeader(const CQelEns* packet);

    std::uint16_t GetPingsPerBurst() const;
    std::uint32_t GetBurstNumber() const;
    // Burst start date and time as "yy/mm/dd hh:mm:ss.ff", bytes in stored order.
    std::string GetBurstStartText() const;
};
