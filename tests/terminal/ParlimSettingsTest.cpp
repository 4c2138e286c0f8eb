#include "CCmdLineInfo.h"
#include "CParlimApp.h"
#include "CParlimMF.h"
#include "CommandRouter.h"
#include "FilePaths.h"
#include "Messages.h"
#include "PtyPair.h"
#include "SerialLine.h"
#include "Settings.h"
#include "TempSettings.h"
#include "resource.h"

#include <gtest/gtest.h>

using namespace parlim;

namespace {

class ParlimSettings : public ::testing::Test {
protected:
    ParlimSettings() { platform::SetProgramName("Parlim"); }

    static std::vector<std::uint8_t> Blob(const PortTable& table) { return SerialisePortTable(table); }
    static void StoreBlob(const std::vector<std::uint8_t>& bytes)
    {
        platform::WriteProfileBinary(kSectionPortSettings, kValueConfig, bytes);
    }
    static std::string Order() { return platform::GetProfileString(kSectionSettings, kValueOrder); }
    static PortTable DefaultTable()
    {
        PortTable table;
        for (int i = 0; i < kPortSlotCount; ++i)
            table[i] = CPortSettings::Defaults(i);
        return table;
    }

    TempSettings m_settings;
    CParlimApp m_app;
};

} // namespace

TEST_F(ParlimSettings, PortTableIsStoredFieldByFieldLittleEndian)
{
    PortTable table = DefaultTable();
    table[0].m_nBaud = -1;
    table[1].m_nPort = 254; // COM 255
    std::vector<std::uint8_t> bytes = Blob(table);
    ASSERT_EQ(bytes.size(), 480u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(bytes[40 + 16], 0xFE);
    EXPECT_EQ(DeserialisePortTable(bytes), table);
}

TEST_F(ParlimSettings, SaveAndLoadRoundTrip)
{
    m_app.Settings().m_PortSettings[0].m_nDeviceType = 2;
    m_app.Settings().m_PortSettings[0].m_bConnectOnStartup = 1;
    m_app.Settings().m_PortSettings[5].m_nBaud = 8;
    m_app.Settings().m_bSendCK = false;
    m_app.Settings().m_bSoftwareBreak = true;
    m_app.Settings().m_bEcho = true;
    m_app.Settings().m_nPromptWait = 5;
    m_app.SavePortSettings();
    EXPECT_EQ(platform::GetProfileBinary(kSectionPortSettings, kValueConfig).size(), 480u);

    CParlimApp loaded;
    loaded.LoadPortSettings();
    EXPECT_EQ(loaded.m_SavedPortSettings, m_app.Settings().m_PortSettings);
    // Only slot 0 goes live at once; the rest waits for the reopened ports.
    EXPECT_EQ(loaded.Settings().m_PortSettings[0], m_app.Settings().m_PortSettings[0]);
    EXPECT_EQ(loaded.Settings().m_PortSettings[5], CPortSettings::Defaults(5));
    EXPECT_FALSE(loaded.Settings().m_bSendCK);
    EXPECT_TRUE(loaded.Settings().m_bSoftwareBreak);
    EXPECT_TRUE(loaded.Settings().m_bEcho);
    EXPECT_EQ(loaded.Settings().m_nPromptWait, 5);
}

TEST_F(ParlimSettings, MissingValuesGiveTheStartDefaults)
{
    m_app.LoadPortSettings();
    EXPECT_EQ(m_app.Settings().m_PortSettings, DefaultTable());
    EXPECT_TRUE(m_app.Settings().m_bSendCK);
    EXPECT_FALSE(m_app.Settings().m_bSoftwareBreak);
    EXPECT_TRUE(m_app.Settings().m_bEcho);
    EXPECT_EQ(m_app.Settings().m_nPromptWait, 0);
}

TEST_F(ParlimSettings, ShortAndOversizedConfigValues)
{
    PortTable table = DefaultTable();
    table[0].m_nDeviceType = 3;
    table[1].m_nDeviceType = 4;
    std::vector<std::uint8_t> bytes = Blob(table);

    StoreBlob(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 40));
    m_app.LoadPortSettings();
    EXPECT_EQ(m_app.Settings().m_PortSettings[0].m_nDeviceType, 3);
    EXPECT_EQ(m_app.m_SavedPortSettings[1].m_nDeviceType, 0);

    bytes.push_back(0);
    StoreBlob(bytes);
    CParlimApp oversized;
    oversized.LoadPortSettings();
    EXPECT_EQ(oversized.Settings().m_PortSettings, DefaultTable());
    EXPECT_EQ(oversized.m_SavedPortSettings[1].m_nDeviceType, 0);
}

TEST_F(ParlimSettings, BadStoredFieldsTakeTheirDefaults)
{
    PortTable table = DefaultTable();
    table[0] = {9, 1, 5, 3, 255, 8, 7, 1, 1, 1};
    table[3].m_nPort = -1;
    table[4] = {-1, 2, 4, 2, 254, 7, 0, 0, 0, 0};
    PortTable loaded = DeserialisePortTable(Blob(table));
    EXPECT_EQ(loaded[0], (CPortSettings{4, 0, 2, 0, 0, 0, 7, 1, 1, 1}));
    EXPECT_EQ(loaded[3].m_nPort, 3);
    EXPECT_EQ(loaded[4], table[4]);
}

TEST_F(ParlimSettings, OnlyAStoredOneTurnsEchoOn)
{
    platform::WriteProfileInt(kSectionSettings, kValueEcho, 2);
    platform::WriteProfileInt(kSectionSettings, kValueSendCK, 7);
    m_app.LoadPortSettings();
    EXPECT_FALSE(m_app.Settings().m_bEcho);
    EXPECT_TRUE(m_app.Settings().m_bSendCK);
}

TEST_F(ParlimSettings, OrderAddsMovesAndRemovesTokens)
{
    m_app.UpdateOpenPortOrder(3, true);
    m_app.UpdateOpenPortOrder(1, true);
    m_app.UpdateOpenPortOrder(100, true);
    EXPECT_EQ(Order(), "COM03 COM01 COM100 ");
    m_app.UpdateOpenPortOrder(3, true);
    EXPECT_EQ(Order(), "COM01 COM100 COM03 ");
    m_app.UpdateOpenPortOrder(10, false);
    EXPECT_EQ(Order(), "COM01 COM100 COM03 ");
    m_app.UpdateOpenPortOrder(100, false);
    m_app.UpdateOpenPortOrder(1, false);
    EXPECT_EQ(Order(), "COM03 ");
}

TEST_F(ParlimSettings, RemovingAnAbsentPortWritesNothing)
{
    m_app.UpdateOpenPortOrder(4, false);
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueOrder, "unset"), "unset");
}

// Numbers above 200 so that no serial device of the machine is among them.
class RestoreOpenPorts : public ParlimSettings {
protected:
    void SaveSlot(int index, int comNumber, bool connectOnStartup, int deviceType)
    {
        m_app.m_SavedPortSettings[index] = CPortSettings::Defaults(index);
        m_app.m_SavedPortSettings[index].m_nPort = comNumber - 1;
        m_app.m_SavedPortSettings[index].m_bConnectOnStartup = connectOnStartup;
        m_app.m_SavedPortSettings[index].m_nDeviceType = deviceType;
    }

    PtyPair m_first;
    PtyPair m_second;
    PtyPair m_third;
};

TEST_F(RestoreOpenPorts, EmptyOrderStillOpensOneWindow)
{
    EXPECT_EQ(m_app.RestoreOpenPorts(""), 1);
    EXPECT_EQ(m_app.Settings().m_PortSettings, DefaultTable());
}

TEST_F(RestoreOpenPorts, ConnectOnStartupSlotsComeFirst)
{
    m_first.MapTo(211);
    m_second.MapTo(213);
    SaveSlot(0, 213, false, 5);
    SaveSlot(1, 211, true, 6);
    EXPECT_EQ(m_app.RestoreOpenPorts("COM213 COM211 "), 1);
    EXPECT_EQ(m_app.Settings().m_PortSettings[0].m_nPort, 210);
    EXPECT_EQ(m_app.Settings().m_PortSettings[0].m_nDeviceType, 6);
    EXPECT_EQ(m_app.Settings().m_PortSettings[1].m_nPort, 212);
    EXPECT_EQ(m_app.Settings().m_PortSettings[1].m_nDeviceType, 5);
}

TEST_F(RestoreOpenPorts, AbsentAndBusyPortsAreSkipped)
{
    m_first.MapTo(211);
    m_second.MapTo(213);
    m_third.MapTo(220);
    SaveSlot(0, 212, true, 1);
    SaveSlot(1, 213, true, 3);
    SaveSlot(2, 211, true, 4);
    SaveSlot(3, 220, true, 7);
    platform::SerialLine holder;
    ASSERT_EQ(holder.Open(m_first.SlavePath()), S_OK);
    EXPECT_EQ(m_app.RestoreOpenPorts("COM212 COM211 COM213 COM220 "), 2);
    EXPECT_EQ(m_app.Settings().m_PortSettings[0].m_nDeviceType, 3);
    EXPECT_EQ(m_app.Settings().m_PortSettings[1].m_nDeviceType, 7);
    EXPECT_EQ(m_app.Settings().m_PortSettings[1].m_nPort, 219);
    EXPECT_EQ(m_app.Settings().m_PortSettings[2], CPortSettings::Defaults(2));
}

TEST_F(RestoreOpenPorts, OnlyTheFirstTwelveTokensCount)
{
    m_first.MapTo(211);
    SaveSlot(0, 211, true, 2);
    std::string order;
    for (int i = 0; i < 12; ++i)
        order += "COM212 ";
    EXPECT_EQ(m_app.RestoreOpenPorts(order + "COM211 "), 1);
    EXPECT_EQ(m_app.Settings().m_PortSettings[0], CPortSettings::Defaults(0));
}

TEST(ParlimPlacement, DefaultsAndTooSmallStoredHeight)
{
    platform::SetProgramName("Parlim");
    TempSettings settings;
    EXPECT_EQ(CParlimMF::StoredPlacement(QSize(1200, 900)), QRect(200, 150, 800, 600));
    platform::WriteProfileInt(kSectionSettings, kValueScreenX, 10);
    platform::WriteProfileInt(kSectionSettings, kValueScreenY, 20);
    platform::WriteProfileInt(kSectionSettings, kValueScreenCx, 300);
    platform::WriteProfileInt(kSectionSettings, kValueScreenCy, 100);
    EXPECT_EQ(CParlimMF::StoredPlacement(QSize(1200, 900)), QRect(10, 20, 300, 100));
    platform::WriteProfileInt(kSectionSettings, kValueScreenCy, 99);
    EXPECT_EQ(CParlimMF::StoredPlacement(QSize(1200, 900)), QRect(200, 150, 800, 600));
}

TEST(ParlimCommandLine, LastPathWinsAndFlagsAreIgnored)
{
    CCmdLineInfo info;
    info.ParseCommandLine({"-x", "first.qvs", "/abs/second.qvs"});
    EXPECT_EQ(info.m_strScriptFile, "/abs/second.qvs");
    CCmdLineInfo relative;
    relative.ParseCommandLine({"dir/../run.qvs"});
    EXPECT_EQ(relative.m_strScriptFile, platform::FullPath("dir/../run.qvs"));
    CCmdLineInfo flagOnly;
    flagOnly.ParseCommandLine({"-x", ""});
    EXPECT_TRUE(flagOnly.m_strScriptFile.empty());
}

TEST(ParlimCommandRouter, FirstRuleDecidesAndDisabledCommandsAreDropped)
{
    int ran = 0;
    CommandTable document;
    CommandTable frame;
    document.Add(7, [&] { ran += 1; }, [](CCmdUI& ui) { ui.Enable(false); });
    frame.Add(7, [&] { ran += 10; });
    frame.Add(8, [&] { ran += 100; });
    document.AddUpdateRule(9, [](CCmdUI& ui) { ui.SetText("pane"); });
    CommandRouter::Chain chain{&document, &frame};

    EXPECT_FALSE(CommandRouter::Dispatch(chain, 7));
    EXPECT_TRUE(CommandRouter::Dispatch(chain, 8));
    EXPECT_FALSE(CommandRouter::Dispatch(chain, 42));
    EXPECT_EQ(ran, 100);
    EXPECT_FALSE(CommandRouter::Query(chain, 42).m_bEnabled);
    EXPECT_EQ(CommandRouter::Query(chain, 9).m_text, "pane");
    EXPECT_TRUE(CommandRouter::Query({&frame}, 7).m_bEnabled);
}
