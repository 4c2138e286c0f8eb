#include "CWavesPingData.h"

#include "RecordBytes.h"

namespace {
constexpr int kPacketNumberWord = 2;
} // namespace

CWavesPingData::CWavesPingData(const CQelEns* packet) : CRecordView(packet, kId) {}

std::uint16_t CWavesPingData::GetPacketNumber() const
{
    return record_bytes::U16(m_pData, m_nSize, kPacketNumberWord);
}
