#include "CWavesFirstLeader.h"

#include "RecordBytes.h"

namespace {
constexpr int kPingsPerBurstWord = 7;
constexpr int kStartTimeBytes = 53;
constexpr int kBurstNumberLong = 60;
} // namespace

CWavesFirstLeader::CWavesFirstLeader(const CQelEns* packet) : CRecordView(packet, kId) {}

std::uint16_t CWavesFirstLeader::GetPingsPerBurst() const
{
    return record_bytes::U16(m_pData, m_nSize, kPingsPerBurstWord);
}

std::uint32_t CWavesFirstLeader::GetBurstNumber() const
{
    return record_bytes::U32(m_pData, m_nSize, kBurstNumberLong);
}

std::string CWavesFirstLeader::GetBurstStartText() const
{
    return record_bytes::TimeText(m_pData, m_nSize, kStartTimeBytes);
}
