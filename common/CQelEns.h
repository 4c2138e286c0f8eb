#pragma once
#include <cstdint>

// View of one binary ensemble in memory. It never owns the bytes it is given.
class CQelEns {
public:
    explicit CQelEns(std::uint8_t* data);
    virtual ~CQelEns();

    int GetEnsembleSize() const;
    std::uint16_t ComputeChecksum() const;
    void UpdateChecksum();
    // First data type whose leading 16-bit id equals id; a table entry whose
    // data type lies outside the ensemble, or inside its header or offset
    // table, counts as absent.
    std::uint8_t* FindDataType(std::uint16_t id, int* size = nullptr) const;
    // Id of the data type of table entry `index` (from 0); 0 without data or
    // for an index not below the count, 0xFFFF for an entry that is no data
    // type (outside the ensemble, or inside its header or offset table).
    std::uint16_t GetDataTypeId(int index) const;
    void Free();

    std::uint8_t* m_pData;
    bool m_bOwnData = false;
};
