#include "CRecordView.h"

#include "CQelEns.h"

CRecordView::CRecordView(const CQelEns* ensemble, std::uint16_t id)
{
    if (ensemble != nullptr)
        m_pData = ensemble->FindDataType(id, &m_nSize);
}

CRecordView::~CRecordView()
{
    Free();
}

void CRecordView::Free()
{
    if (!m_bOwnData)
        return;
    delete[] m_pData;
    m_pData = nullptr;
    m_bOwnData = false;
    m_nSize = 0;
}
