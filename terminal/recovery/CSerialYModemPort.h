#pragma once
#include "IYModemPort.h"

class CLineHold;
class CSerialPort;

// A connection's serial port, held for the transfer, as the receiver's line;
// the waits pump the user-interface thread's messages.
class CSerialYModemPort : public IYModemPort {
public:
    CSerialYModemPort(CSerialPort& port, CLineHold& hold) : m_port(port), m_hold(hold) {}

    HRESULT Read(void* destination, std::uint32_t n, std::uint32_t* count) override;
    HRESULT Write(const void* bytes, std::uint32_t n) override;
    void FlushInput() override;
    bool Purge(unsigned flags) override;
    HRESULT SendBreak(std::uint32_t milliseconds) override;
    int Pump() override;
    int Wait(int seconds, int milliseconds) override;

private:
    CSerialPort& m_port;
    CLineHold& m_hold;
};
