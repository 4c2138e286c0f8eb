#pragma once
#include "CLogWnd.h"
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CParlimMF.h"
#include "GuiTestApp.h"
#include "InstrumentSimulator.h"
#include "MessagePump.h"
#include "Messages.h"
#include "PortCatalog.h"
#include "PtyPair.h"
#include "SerialLine.h"
#include "Settings.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

// The terminal running in-process with one connection on COM3, a
// pseudo-terminal whose master end is the simulated instrument.
class ConnectedTerminal : public ::testing::Test {
protected:
    static constexpr int kPort = 3;

    ConnectedTerminal()
    {
        platform::SetProgramName("Parlim");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtime.Path()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data.Path()));
        platform::PortCatalog::SetSystemRoot(m_systemRoot.Path());
        m_pty.MapTo(kPort);
    }

    ~ConnectedTerminal() override
    {
        m_app.reset();
        platform::PortCatalog::SetSystemRoot("");
        platform::SetClosing(false);
    }

    // Starts with the connection at that baud code, parity and stop bits.
    void Start(int deviceType = 0, int baud = 4, int parity = 2, int stopBits = 0)
    {
        PortTable table;
        for (int i = 0; i < kPortSlotCount; ++i)
            table[i] = CPortSettings::Defaults(i);
        table[0].m_nPort = kPort - 1;
        table[0].m_nDeviceType = deviceType;
        table[0].m_nBaud = baud;
        table[0].m_nParity = parity;
        table[0].m_nStopBits = stopBits;
        table[0].m_bConnectOnStartup = 1;
        platform::WriteProfileBinary(kSectionPortSettings, kValueConfig, SerialisePortTable(table));
        platform::WriteProfileString(kSectionSettings, kValueOrder, "COM03 ");
        m_app = std::make_unique<CParlimApp>();
        ASSERT_TRUE(m_app->InitInstance({}));
        ASSERT_TRUE(PumpUntil([&] { return m_app->MainFrame()->Documents().size() == 1; }));
        m_doc = m_app->MainFrame()->Documents().front();
    }

    static bool PumpUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10))
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            platform::PumpMessages();
        }
        return true;
    }

    void Type(const std::string& keys)
    {
        for (char key : keys)
            m_doc->SendKey(key);
    }

    // The line as the instrument's end sees it.
    platform::LineSettings Line() const { return platform::SerialLine::DecodeSettings(m_pty.SlaveTermios()); }

    QApplication& m_qapp = GuiTestApp();
    TempSettings m_settings;
    TempDir m_runtime;
    TempDir m_data;
    TempDir m_systemRoot;
    PtyPair m_pty;
    InstrumentSimulator m_instrument{m_pty.MasterFd()};
    platform::RecordingMessageBackend m_messages;
    std::unique_ptr<CParlimApp> m_app;
    CParlimDoc* m_doc = nullptr;
};
