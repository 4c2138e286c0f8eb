#pragma once
#include <cstdint>

class CQelEns;

// View of the variable leader (data type 0x0080) of an ensemble.
class CVarLeader {
public:
    explicit CVarLeader(const CQelEns* ensemble);
    virtual ~CVarLeader();

    // 24-bit ensemble number; 0 when there is no (complete enough) leader.
    unsigned GetEnsembleNumber() const;
    void Free();

    std::uint8_t* m_pData = nullptr;
    bool m_bOwnData = false;
    int m_nSize = 0;
};
