#include "CWavesLastLeader.h"

#include "CQelEns.h"

CWavesLastLeader::CWavesLastLeader(const CQelEns* packet)
{
    if (packet != nullptr)
        m_pData = packet->FindDataType(kId, &m_nSize);
}

CWavesLastLeader::~CWavesLastLeader()
{
    Free();
}

void CWavesLastLeader::Free()
{
    if (!m_bOwnData || m_pData == nullptr)
        return;
    delete[] m_pData;
    m_pData = nullptr;
    m_bOwnData = false;
    m_nSize = 0;
}

