#include "CLineHold.h"

#include "CSerialPort.h"

CLineHold::CLineHold(CSerialPort& port) : m_port(port)
{
    ++m_port.m_nHolds;
}

CLineHold::~CLineHold()
{
    if (--m_port.m_nHolds == 0 && m_port.m_lineFreed)
        m_port.m_lineFreed();
}

bool CLineHold::BeginStep()
{
    return std::exchange(m_port.m_bHolderActs, true);
}

void CLineHold::EndStep(bool before)
{
    m_port.m_bHolderActs = before;
}
