#pragma once
#include "CRecordView.h"

// View of the variable leader (data type 0x0080) of an ensemble.
class CVarLeader : public CRecordView {
public:
    explicit CVarLeader(const CQelEns* ensemble);

    // 24-bit ensemble number; 0 when there is no (complete enough) leader.
    unsigned GetEnsembleNumber() const;
};
