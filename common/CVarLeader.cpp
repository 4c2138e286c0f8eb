#include "CVarLeader.h"

namespace {
constexpr std::uint16_t kVariableLeaderId = 0x0080;
// Bytes 2-3 and byte 11 carry the number.
constexpr int kNumberedLeaderSize = 12;
} // namespace

CVarLeader::CVarLeader(const CQelEns* ensemble) : CRecordView(ensemble, kVariableLeaderId) {}

unsigned CVarLeader::GetEnsembleNumber() const
{
    if (!m_pData || m_nSize < kNumberedLeaderSize)
        return 0;
    return (static_cast<unsigned>(m_pData[11]) << 16) | static_cast<unsigned>(m_pData[2])
           | (static_cast<unsigned>(m_pData[3]) << 8);
}
