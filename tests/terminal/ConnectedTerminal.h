#pragma once
#include "CLogWnd.h"
#include "CParlimDoc.h"
#include "InProcessTerminal.h"
#include "SerialLine.h"

#include <string>

// The terminal running in-process with one connection on COM3, a
// pseudo-terminal whose master end is the simulated instrument.
class ConnectedTerminal : public InProcessTerminal {
protected:
    // Starts with the connection at that baud code, parity and stop bits.
    void Start(int deviceType = 0, int baud = 4, int parity = 2, int stopBits = 0)
    {
        SaveStartupSlots({{kPort, deviceType}}, [&](PortTable& table) {
            table[0].m_nBaud = baud;
            table[0].m_nParity = parity;
            table[0].m_nStopBits = stopBits;
        });
        ASSERT_NO_FATAL_FAILURE(InProcessTerminal::Start(1));
        m_doc = m_app->MainFrame()->Documents().front();
    }

    void Type(const std::string& keys)
    {
        for (char key : keys)
            m_doc->SendKey(key);
    }

    // The line as the instrument's end sees it.
    platform::LineSettings Line() const { return platform::SerialLine::DecodeSettings(m_pty.SlaveTermios()); }

    CParlimDoc* m_doc = nullptr;
};
