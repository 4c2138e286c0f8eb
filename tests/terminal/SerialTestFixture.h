#pragma once
#include "CBaseFile.h"
#include "CLogWnd.h"
#include "CSerialPort.h"
#include "GuiTestApp.h"
#include "InstrumentSimulator.h"
#include "PtyPair.h"
#include "PumpUntil.h"
#include "TempSettings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

// A port on COM kTestPort wired to a simulated instrument over a
// pseudo-terminal, with a terminal window as its owner.
class SerialTest : public ::testing::Test {
protected:
    static constexpr int kTestPort = 201;

    SerialTest()
    {
        m_pty.MapTo(kTestPort);
        m_port.SetParams(&m_window, kTestPort, 9600, 'N', 1, 8, 4096, 128);
    }

    ~SerialTest() override { platform::SetClosing(false); }

    void OpenPort() { ASSERT_EQ(m_port.Open(), S_OK); }

    // Opens the port with the window logging to a new file at that path and
    // the instrument silent, ready for a flood.
    void OpenSilentWithLog(CBaseFile& log, const std::string& path)
    {
        ASSERT_EQ(log.Create(path, true), S_OK);
        m_window.m_hLogFile = log.m_hFile;
        m_instrument.SetSilent(true);
        OpenPort();
    }

    std::string WindowText() const
    {
        std::string text;
        for (const std::string& line : m_window.Lines())
            text += line + "|";
        return text;
    }

    // The application exists before the window does.
    QApplication& m_app = GuiTestApp();
    TempSettings m_settings;
    PtyPair m_pty;
    InstrumentSimulator m_instrument{m_pty.MasterFd()};
    CLogWnd m_window{QString(), 80, 2000, true};
    CSerialPort m_port;
};
