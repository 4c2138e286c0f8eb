#pragma once
#include <cstdint>

class CQelEns;

// View of one data type record of an ensemble: the record's bytes as found in
// the ensemble (not owned) and their count. A view that owns its bytes frees
// them in Free and at its end.
class CRecordView {
public:
    CRecordView(const CRecordView&) = delete;
    CRecordView& operator=(const CRecordView&) = delete;
    virtual ~CRecordView();

    void Free();
    bool IsPresent() const { return m_pData != nullptr; }

    std::uint8_t* m_pData = nullptr;
    bool m_bOwnData = false;
    int m_nSize = 0;

protected:
    // No ensemble, or none with the record, leaves the view empty.
    CRecordView(const CQelEns* ensemble, std::uint16_t id);
};
