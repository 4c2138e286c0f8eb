#include "CWavesPingData.h"

#include "CQelEns.h"
#include "RecordBytes.h"

namespace {
constexpr int kPacketNumberWord = 2;
} // namespace

CWavesPingData::CWavesPingData(const CQelEns* packet)
{
    if (packet != nullptr)
        m_pData = packet->FindDataType(kId, &m_nSize);
}

CWavesPingData::~CWavesPingData()
{
    Free();
}

void CWavesPingData::Free()
{
    if (!m_bOwnData || m_pData == nullptr)
        return;
    delete[] m_pData;
    m_pData = nullptr;
    m_bOwnData = false;
    m_nSize = 0;
}

std::uint16_t CWavesPingData::GetPacketNumber() const
{
    return record_bytes::U16(m_pData, m_nSize, kPacketNumberWord);
}

