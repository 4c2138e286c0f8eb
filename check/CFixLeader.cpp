#include "CFixLeader.h"

#include "RecordBytes.h"

namespace {
constexpr int kVersionByte = 2;
constexpr int kRevisionByte = 3;
constexpr int kSystemByte = 4;
constexpr int kCellsByte = 9;
constexpr int kWaterPingsWord = 10;
constexpr int kCellSizeWord = 12;
constexpr int kBlankWord = 14;
constexpr int kWaterModeByte = 16;
} // namespace

CFixLeader::CFixLeader(const CQelEns* ensemble) : CRecordView(ensemble, kId) {}

int CFixLeader::GetFirmwareVersion() const
{
    const int version = record_bytes::U8(m_pData, m_nSize, kVersionByte);
    int revision = record_bytes::U8(m_pData, m_nSize, kRevisionByte);
    if (revision > 100)
        revision -= 100;
    return version * 100 + revision;
}

double CFixLeader::GetFrequencyKHz() const
{
    const int code = record_bytes::U8(m_pData, m_nSize, kSystemByte) & 7;
    return static_cast<double>(1 << code) * 75.0;
}

int CFixLeader::GetOrientation() const
{
    if (!record_bytes::Holds(m_pData, m_nSize, kSystemByte, 1))
        return -1;
    return (m_pData[kSystemByte] & 0x80) != 0 ? 1 : 0;
}

int CFixLeader::GetCells() const
{
    return record_bytes::U8(m_pData, m_nSize, kCellsByte);
}

int CFixLeader::GetWaterPings() const
{
    return record_bytes::U16(m_pData, m_nSize, kWaterPingsWord);
}

int CFixLeader::GetCellSize() const
{
    return record_bytes::U16(m_pData, m_nSize, kCellSizeWord);
}

int CFixLeader::GetBlank() const
{
    return record_bytes::U16(m_pData, m_nSize, kBlankWord);
}

int CFixLeader::GetWaterMode() const
{
    return record_bytes::U8(m_pData, m_nSize, kWaterModeByte);
}
