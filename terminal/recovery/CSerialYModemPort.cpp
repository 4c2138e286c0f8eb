#include "CSerialYModemPort.h"

#include "CLineHold.h"
#include "CSerialPort.h"
#include "MessagePump.h"

HRESULT CSerialYModemPort::Read(void* destination, std::uint32_t n, std::uint32_t* count)
{
    return m_port.Read(destination, n, count);
}

HRESULT CSerialYModemPort::Write(const void* bytes, std::uint32_t n)
{
    return m_hold.Admit([&] { return m_port.Write(bytes, n); });
}

void CSerialYModemPort::FlushInput()
{
    m_port.FlushInput();
}

bool CSerialYModemPort::Purge(unsigned flags)
{
    return m_hold.Admit([&] { return m_port.Purge(flags); });
}

HRESULT CSerialYModemPort::SendBreak(std::uint32_t milliseconds)
{
    return m_hold.Admit([&] { return m_port.SendBreak(milliseconds); });
}

int CSerialYModemPort::Pump()
{
    return platform::PumpMessages();
}

int CSerialYModemPort::Wait(int seconds, int milliseconds)
{
    return platform::WaitWithMessages(seconds, milliseconds);
}
