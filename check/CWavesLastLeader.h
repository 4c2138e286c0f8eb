#pragma once
#include "CRecordView.h"

// View of the waves last leader (data type 0x0303), the packet that ends a burst.
class CWavesLastLeader : public CRecordView {
public:
    static constexpr std::uint16_t kId = 0x0303;

    explicit CWavesLastLeader(const CQelEns* packet);
};
