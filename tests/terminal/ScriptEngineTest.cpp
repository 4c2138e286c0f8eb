#include "CBaseFile.h"
#include "CScript.h"
#include "CSerialPort.h"
#include "IScriptConnection.h"
#include "resource.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace parlim;

namespace {

// A connection with no window and no application object behind it: it keeps
// what the run asks of it, so the run loop is seen through its interface only.
class RecordingConnection : public IScriptConnection {
public:
    std::shared_ptr<void> HoldWhileRunning() override
    {
        ++m_holds;
        return std::shared_ptr<void>(nullptr, [this](void*) { --m_holds; });
    }
    std::list<std::string>& GetScriptLines() override { return m_lines; }
    bool IsScriptRunning() const override { return m_running; }
    CSerialPort& Port() override { return m_port; }
    bool IsConnected() const override { return false; }
    PortConfig& LineSettings() override { return m_settings; }
    void ApplyPortSettings() override { ++m_applied; }
    void SavePortConfig() override { ++m_saved; }
    void SendBreak() override { ++m_breaks; }
    bool WaitForPrompt(std::string&, std::uint16_t) override { return false; }
    bool SendsCheckAfterRateChange() const override { return false; }
    bool UsesSoftwareBreak() const override { return false; }
    std::string& TypedSoFar(TypedWatch) override { return m_typed; }
    void SetPinging(bool) override {}
    bool ChecksAfterRateChange() const override { return false; }
    int PromptWaitSeconds() const override { return 0; }
    bool DetectInstrumentForScript(const std::function<void()>&) override { return false; }
    IReceivedBatchSink* ReceivedBytesSink() const override { return nullptr; }
    void ShowText(std::string_view text) override { m_shown += text; }
    void SetHexView(bool hex) override { m_views.push_back(hex); }
    CBaseFile& LogFile() override { return m_log; }
    bool IsLogging() const override { return false; }
    void StartStopLogging() override {}
    void SetLogging(bool) override {}
    std::string GetLogPath() const override { return m_logPath; }
    void SetLogPath(const std::string& path) override { m_logPath = path; }
    void PostFrameCommand(int commandId, bool forConnection) override
    {
        m_posted.emplace_back(commandId, forConnection);
    }

    int Run(std::list<std::string> lines)
    {
        m_lines = std::move(lines);
        m_running = true;
        CScript script(this);
        return script.Run();
    }

    CSerialPort m_port;
    std::list<std::string> m_lines;
    PortConfig m_settings;
    CBaseFile m_log;
    std::string m_typed;
    std::string m_logPath;
    std::string m_shown;
    std::vector<bool> m_views;
    std::vector<std::pair<int, bool>> m_posted;
    bool m_running = false;
    int m_holds = 0;
    int m_applied = 0;
    int m_saved = 0;
    int m_breaks = 0;
};

// The run loop needs an event loop to pump, never a widget.
QCoreApplication& CoreApp()
{
    static int argc = 1;
    static char name[] = "script_engine_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class ScriptEngineTest : public ::testing::Test {
protected:
    ~ScriptEngineTest() override { g_strEol = "\r"; }

    // Before the port: its delivery notifier needs the application.
    QCoreApplication& m_app = CoreApp();
    RecordingConnection m_connection;
};

TEST_F(ScriptEngineTest, DisplayAndFrameCommandsReachTheConnection)
{
    EXPECT_EQ(m_connection.Run({"$H\r\n", "$Pone\r\n", "$Ptwo\r\n", "$A\r\n", "$L\r\n", "$X\r\n"}),
              SCRIPT_CONTINUE);
    EXPECT_EQ(m_connection.m_views, (std::vector<bool>{true, false}));
    EXPECT_EQ(m_connection.m_shown, "\r\n[one]\r\n[two]\r\n");
    const std::vector<std::pair<int, bool>> posted = {{ID_FILE_LOG, true}, {ID_APP_EXIT, false}};
    EXPECT_EQ(m_connection.m_posted, posted);
    EXPECT_EQ(m_connection.m_holds, 0);
}

TEST_F(ScriptEngineTest, BreakAndARateChangeLineGoThroughTheConnection)
{
    m_connection.m_settings.m_nDeviceType = kQuillon;
    EXPECT_EQ(m_connection.Run({"$B\r\n", "CB632\r\n", "CB011\r\n"}), SCRIPT_CONTINUE);
    EXPECT_EQ(m_connection.m_breaks, 1);
    // The loop recorder keeps its rate on digit 0; parity and stop bits follow.
    EXPECT_EQ(m_connection.m_settings.m_nBaud, 6);
    EXPECT_EQ(m_connection.m_settings.m_nParity, 2);
    EXPECT_EQ(m_connection.m_settings.m_nStopBits, 0);
    EXPECT_EQ(m_connection.m_applied, 2);
    EXPECT_EQ(m_connection.m_saved, 2);
}

TEST_F(ScriptEngineTest, AStoppedRunEndsBeforeItsNextLine)
{
    m_connection.m_lines = {"$P one\r\n"};
    CScript script(&m_connection);
    EXPECT_EQ(script.Run(), SCRIPT_CONTINUE);
    EXPECT_EQ(m_connection.m_shown, "");
    EXPECT_EQ(m_connection.m_holds, 0);
}

} // namespace
