#pragma once
#include "CRecordView.h"

// View of the fixed leader (data type 0x0000) of an ensemble: the instrument
// settings the checker reports.
class CFixLeader : public CRecordView {
public:
    static constexpr std::uint16_t kId = 0x0000;

    explicit CFixLeader(const CQelEns* ensemble);

    // Version x 100 + revision; a revision above 100 counts as revision - 100.
    int GetFirmwareVersion() const;
    // 75 kHz x 2^(bits 0-2 of the system byte).
    double GetFrequencyKHz() const;
    // 1 looking up, 0 down, -1 when the record lacks the system byte.
    int GetOrientation() const;
    int GetCells() const;       // WN
    int GetWaterPings() const;  // WP
    int GetCellSize() const;    // WS, cm
    int GetBlank() const;       // WF, cm
    int GetWaterMode() const;   // WM
};
