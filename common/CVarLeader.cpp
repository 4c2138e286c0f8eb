#include "CVarLeader.h"

#include "CQelEns.h"

namespace {
constexpr std::uint16_t kVariableLeaderId = 0x0080;
// Bytes 2-3 and byte 11 carry the number.
constexpr int kNumberedLeaderSize = 12;
} // namespace

CVarLeader::CVarLeader(const CQelEns* ensemble)
{
    if (ensemble)
        m_pData = ensemble->FindDataType(kVariableLeaderId, &m_nSize);
}

CVarLeader::~CVarLeader()
{
    Free();
}

void CVarLeader::Free()
{
    if (!m_bOwnData)
        return;
    delete[] m_pData;
    m_pData = nullptr;
    m_bOwnData = false;
    m_nSize = 0;
}

unsigned CVarLeader::GetEnsembleNumber() const
{
    if (!m_pData || m_nSize < kNumberedLeaderSize)
        return 0;
    return (static_cast<unsigned>(m_pData[11]) << 16) | static_cast<unsigned>(m_pData[2])
           | (static_cast<unsigned>(m_pData[3]) << 8);
}
