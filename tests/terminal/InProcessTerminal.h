#pragma once
#include "CParlimApp.h"
#include "CParlimMF.h"
#include "CPortSettings.h"
#include "GuiTestApp.h"
#include "InstrumentSimulator.h"
#include "Messages.h"
#include "PortCatalog.h"
#include "PtyPair.h"
#include "PumpUntil.h"
#include "Settings.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace parlim;

// The terminal program in-process, with settings, runtime and data folders of
// its own and COM3 a pseudo-terminal whose master end is the simulated
// instrument.
class InProcessTerminal : public ::testing::Test {
protected:
    static constexpr int kPort = 3;

    InProcessTerminal()
    {
        platform::SetProgramName("Parlim");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtime.Path()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data.Path()));
        platform::PortCatalog::SetSystemRoot(m_systemRoot.Path());
        m_pty.MapTo(kPort);
    }

    ~InProcessTerminal() override
    {
        m_app.reset();
        platform::PortCatalog::SetSystemRoot("");
        platform::SetClosing(false);
    }

    // Saves a port table whose first slots connect at start, on these COM
    // ports with these device types; adjust may change it before it is saved.
    static void SaveStartupSlots(const std::vector<std::pair<int, int>>& portsAndTypes,
                                 const std::function<void(PortTable&)>& adjust = {})
    {
        PortTable table;
        std::string order;
        for (int i = 0; i < kPortSlotCount; ++i)
            table[i] = CPortSettings::Defaults(i);
        for (std::size_t i = 0; i < portsAndTypes.size(); ++i) {
            table[i].m_nPort = portsAndTypes[i].first - 1;
            table[i].m_nDeviceType = portsAndTypes[i].second;
            table[i].m_bConnectOnStartup = 1;
            order += "COM0" + std::to_string(portsAndTypes[i].first) + " ";
        }
        if (adjust)
            adjust(table);
        platform::WriteProfileBinary(kSectionPortSettings, kValueConfig, SerialisePortTable(table));
        platform::WriteProfileString(kSectionSettings, kValueOrder, order);
    }

    // Starts the program and waits until it has that many connections.
    void Start(std::size_t connections)
    {
        m_app = std::make_unique<CParlimApp>();
        ASSERT_TRUE(m_app->InitInstance({}));
        ASSERT_TRUE(PumpUntil([&] { return m_app->MainFrame()->Documents().size() == connections; }));
    }

    QApplication& m_qapp = GuiTestApp();
    TempSettings m_settings;
    TempDir m_runtime;
    TempDir m_data;
    TempDir m_systemRoot;
    PtyPair m_pty;
    InstrumentSimulator m_instrument{m_pty.MasterFd()};
    platform::RecordingMessageBackend m_messages;
    std::unique_ptr<CParlimApp> m_app;
};
