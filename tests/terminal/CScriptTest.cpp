#include "CLogWnd.h"
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CParlimVW.h"
#include "CScript.h"
#include "GuiTestApp.h"
#include "InstrumentSimulator.h"
#include "MessagePump.h"
#include "Messages.h"
#include "PtyPair.h"
#include "PumpUntil.h"
#include "TempDir.h"
#include "TempSettings.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Longer than any test waits: a wait that lasts this long has missed its event.
constexpr int kLongSeconds = 600;

// A connection on a pseudo-terminal to a simulated instrument that answers
// every carriage return with "\r\n>", with its window, ready to run scripts.
class ScriptTest : public ::testing::Test {
protected:
    static constexpr int kPort = 207;

    ScriptTest()
    {
        m_pty.MapTo(kPort);
        m_app.Settings().CurrentSlot().m_nPort = kPort - 1;
        m_app.Settings().m_nPromptWait = 0;
        m_document->SetLogWnd(m_view->m_pLogWnd);
        m_document->LoadPortConfig();
    }

    ~ScriptTest() override
    {
        platform::SetClosing(false);
        m_document.reset();
        g_strEol = "\r";
    }

    void SetUp() override { ASSERT_TRUE(m_document->OpenPort(false)); }

    CParlimDoc& Document() { return *m_document; }
    CLogWnd& Window() { return *m_view->m_pLogWnd; }

    int Run(std::list<std::string> lines)
    {
        m_document->GetScriptLines() = std::move(lines);
        m_document->ScriptRuns().m_bScriptRunning = true;
        CScript script(m_document.get());
        return script.Run();
    }

    // What the instrument received from the program, settle markers left out.
    std::string Sent() const
    {
        std::string bytes = m_instrument.Received();
        for (std::size_t at = bytes.find(kSettled); at != std::string::npos; at = bytes.find(kSettled))
            bytes.erase(at, kSettled.size());
        return bytes;
    }

    // What the instrument received, once at least that many bytes came.
    std::string Wire(std::size_t count)
    {
        EXPECT_TRUE(PumpUntil([&] { return Sent().size() >= count; }, kGenerous)) << Sent();
        return Sent();
    }

    std::size_t Markers() const
    {
        const std::string bytes = m_instrument.Received();
        std::size_t count = 0;
        for (std::size_t at = bytes.find(kSettled); at != std::string::npos; at = bytes.find(kSettled, at + 1))
            ++count;
        return count;
    }

    // Everything written so far has arrived: a marker written behind it came.
    std::string WireSettled()
    {
        const std::size_t markers = Markers() + 1;
        if (Document().Port().IsOpen()) {
            Document().Port().Write(kSettled.data(), static_cast<std::uint32_t>(kSettled.size()));
        } else {
            const int fd = ::open(m_pty.SlavePath().c_str(), O_WRONLY | O_NOCTTY);
            EXPECT_EQ(::write(fd, kSettled.data(), kSettled.size()), static_cast<ssize_t>(kSettled.size()));
            ::close(fd);
        }
        EXPECT_TRUE(PumpUntil([&] { return Markers() == markers; }, kGenerous));
        return Sent();
    }

    // Runs the lines; false when they had not ended by themselves after a
    // generous time and were stopped.
    bool RunEndsByItself(std::list<std::string> lines, int* result = nullptr)
    {
        bool stopped = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            stopped = true;
            Document().StopScript();
        });
        watchdog.start(kGenerous);
        const int ended = Run(std::move(lines));
        if (result)
            *result = ended;
        return !stopped;
    }

    std::string WindowText()
    {
        std::string text;
        for (const std::string& line : Window().Lines())
            text += line + "|";
        return text;
    }

    // Runs the action from the event loop after the delay, inside the run's waits.
    static void Later(std::chrono::milliseconds delay, std::function<void()> action)
    {
        QTimer::singleShot(delay, std::move(action));
    }

    static double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

    // When the first byte of that text reached the instrument.
    Clock::time_point ArrivalOf(const std::string& text) const
    {
        for (const InstrumentSimulator::Arrival& arrival : m_instrument.Arrivals()) {
            if (arrival.bytes.find(text) != std::string::npos)
                return arrival.time;
        }
        ADD_FAILURE() << text << " never arrived";
        return {};
    }

    static inline const std::string kSettled = "#settled#";

    QApplication& m_qapp = GuiTestApp();
    TempSettings m_settings;
    PtyPair m_pty;
    InstrumentSimulator m_instrument{m_pty.MasterFd()};
    CParlimApp m_app;
    std::unique_ptr<CParlimDoc> m_document = std::make_unique<CParlimDoc>(m_app);
    std::unique_ptr<CParlimVW> m_view = std::make_unique<CParlimVW>(m_document.get());
};

TEST_F(ScriptTest, PlainLinesAndCommandsAreToldApart)
{
    auto start = Clock::now();
    EXPECT_EQ(Run({"ABC;note\r\n", " ;x\r\n", "\r\n", "ABC$X;CMD_OFF\r\n", "ABC ;note $d 0.3\r\n", "$\r\n",
                   "$?\r\n", "$Z\r\n", "$G\r\n", "LAST"}),
              SCRIPT_CONTINUE);
    EXPECT_GE(Seconds(Clock::now() - start), 0.3);
    EXPECT_EQ(WireSettled(), "ABC\r \r\rABC$X\rLAST");
}

TEST_F(ScriptTest, SingleByteInstrumentGetsNoTerminatorAndPacedBytes)
{
    Document().LineSettings().m_nDeviceType = CParlimDoc::kGlissom;
    // Paced bytes keep the run for two pauses at least; a busy machine may
    // deliver them to the instrument in fewer reads, so the run is timed.
    const auto start = Clock::now();
    Run({"ABC;note\r\n"});
    EXPECT_GE(Seconds(Clock::now() - start), 0.035);
    EXPECT_EQ(Wire(3), "ABC");
}

TEST_F(ScriptTest, AStoppedRunSendsNothingMore)
{
    // Paced one byte at a time, the line is on the wire for a second.
    Document().LineSettings().m_nDeviceType = CParlimDoc::kGlissom;
    const std::string line(50, 'A');
    QTimer stopAtFirstByte;
    QObject::connect(&stopAtFirstByte, &QTimer::timeout, [this] {
        if (!Sent().empty())
            Document().StopScript();
    });
    stopAtFirstByte.start(1);
    EXPECT_TRUE(RunEndsByItself({line + "\r\n", "NEXT\r\n"}));
    EXPECT_LT(WireSettled().size(), line.size());
}

TEST_F(ScriptTest, PromptWaitFollowsEachPlainLineWhenOn)
{
    m_app.Settings().m_nPromptWait = 1;
    m_instrument.SetSilent(true);
    Run({"A\r\n", "B\r\n"});
    ASSERT_EQ(WireSettled(), "A\rB\r");
    EXPECT_GE(Seconds(ArrivalOf("B") - ArrivalOf("A")), 1.0);

    // An answering instrument releases the wait at its prompt.
    m_instrument.SetSilent(false);
    m_app.Settings().m_nPromptWait = kLongSeconds;
    EXPECT_TRUE(RunEndsByItself({"C\r\n", "D\r\n"}));
}

TEST_F(ScriptTest, AnExplicitWaitAfterAFoundPromptDoesNotWaitAgain)
{
    m_app.Settings().m_nPromptWait = kLongSeconds;
    int result = SCRIPT_ERROR;
    EXPECT_TRUE(RunEndsByItself({"A\r\n", "$W62,600\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);

    // The second explicit wait waits again: here until its limit.
    m_app.Settings().m_nPromptWait = 5;
    auto start = Clock::now();
    EXPECT_EQ(Run({"A\r\n", "$W62,5\r\n", "$W62,1\r\n"}), SCRIPT_CONTINUE);
    EXPECT_GE(Seconds(Clock::now() - start), 1.0);
}

TEST_F(ScriptTest, WaitForCharacterForms)
{
    auto start = Clock::now();
    EXPECT_EQ(Run({"$W62,1\r\n"}), SCRIPT_CONTINUE);
    EXPECT_GE(Seconds(Clock::now() - start), 1.0);

    int result = SCRIPT_ERROR;
    Later(200ms, [this] { m_instrument.Send("ab\r"); });
    EXPECT_TRUE(RunEndsByItself({"$W13\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);

    Later(200ms, [this] { m_instrument.Send("x#"); });
    EXPECT_TRUE(RunEndsByItself({"$W\"#\",-4\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);

    // Forms that cannot wait go on at once; a quoted form cut short is an error.
    EXPECT_TRUE(RunEndsByItself({"$W9\r\n", "$W0\r\n", "$W\">\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);
    EXPECT_EQ(Run({"$W\"\r\n", "X\r\n"}), SCRIPT_ERROR);
}

TEST_F(ScriptTest, ClearingTheRunningFlagStopsAWaitingRun)
{
    Later(300ms, [this] { Document().StopScript(); });
    EXPECT_TRUE(RunEndsByItself({"$D 600\r\n", "X\r\n"}));

    int result = SCRIPT_REPEAT;
    Later(300ms, [this] { Document().StopScript(); });
    EXPECT_TRUE(RunEndsByItself({"$W62\r\n", "X\r\n"}, &result));
    EXPECT_NE(result, SCRIPT_REPEAT);
    EXPECT_EQ(WireSettled(), "");

    // So does the application closing.
    Later(300ms, [] { platform::SetClosing(true); });
    EXPECT_TRUE(RunEndsByItself({"$D 600\r\n", "X\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);
}

TEST_F(ScriptTest, DelayWaitsItsFractionAndIgnoresNegativeTimes)
{
    EXPECT_TRUE(RunEndsByItself({"$D\r\n", "$D -600\r\n"}));
    const auto start = Clock::now();
    EXPECT_TRUE(RunEndsByItself({"$D 0.25\r\n"}));
    EXPECT_GE(Seconds(Clock::now() - start), 0.25);
}

// Built with the sanitizer, a NaN turned into an integer stops the run.
TEST_F(ScriptTest, ADelayThatIsNoNumberReturnsAtOnce)
{
    EXPECT_EQ(Run({"$D nan\r\n", "$D -nan\r\n", "$D 0.nan\r\n"}), SCRIPT_CONTINUE);
}

TEST_F(ScriptTest, RepeatStopsTheRunAndEmptyScriptsEnd)
{
    EXPECT_EQ(Run({}), SCRIPT_CONTINUE);
    EXPECT_EQ(Run({"A\r\n", "$R"}), SCRIPT_REPEAT);
    EXPECT_EQ(Run({"$r\r\n", "B\r\n"}), SCRIPT_REPEAT);
    EXPECT_EQ(WireSettled(), "A\r");
}

TEST_F(ScriptTest, EndOfLineCommandSetsTheTerminatorForTheRun)
{
    Run({"$E\r\n", "A\r\n", "$E 0d0a\r\n", "B\r\n", "$E 0D 0\r\n", "C\r\n", "$E 00 zz\r\n", "D\r\n"});
    EXPECT_EQ(WireSettled(), std::string("AB\r\nC\rD\0\xFF", 9));
    // The next run starts with a carriage return again.
    Run({"E\r\n"});
    EXPECT_EQ(Wire(10).substr(9), "E\r");
}

TEST_F(ScriptTest, HexChecksumAndTextCommandsSendTheirBytes)
{
    std::string longHex = "$S";
    for (int i = 0; i < 1001; ++i)
        longHex += "7e";
    Run({"$S 41 4g\r\n", "$NA\r\n", "$N\r\n", "$tab\r\n", "$S\r\n", longHex + "\r\n"});
    EXPECT_EQ(WireSettled(), std::string("\x41\xFF" "A\0A" "\0\0" "ab\r\n", 11) + std::string(500, '\x7E'));
}

TEST_F(ScriptTest, PrintedLinesFormBlocks)
{
    m_instrument.SetSilent(true);
    Window().Clear();
    // A plain line keeps the block going; any other command ends it.
    Run({"$P one\r\n", "$Ptwo\r\n", "X\r\n", "$P three\r\n", "$D 0\r\n", "$Pfour"});
    EXPECT_EQ(WindowText(), "|[ one]|[two]|[ three]||[four]||");
}

TEST_F(ScriptTest, ComSettingsChangeTheLineAndTheSavedConnection)
{
    EXPECT_EQ(Run({"$C:19200,E,8,2\r\n"}), SCRIPT_CONTINUE);
    platform::LineSettings line;
    Document().Port().GetDCB(line);
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(Document().Port().GetParityChar(), 'E');
    EXPECT_EQ(line.StopBits, platform::TWOSTOPBITS);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nBaud, 5);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nParity, 0);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nStopBits, 2);
}

TEST_F(ScriptTest, MalformedComSettingsEndTheRunAndChangeNothing)
{
    for (const char* bad : {"$C:300,N,8,1\r\n", "$C:9600,N,8,1", "$C 9600,N,8,1\r\n", "$C:9,N,8,1\r\n",
                            "$C:9600,M,8,1\r\n", "$C:9600,N,8,3\r\n"}) {
        EXPECT_EQ(Run({bad, "X\r\n"}), SCRIPT_ERROR) << bad;
        EXPECT_EQ(Document().LineSettings().m_nBaud, 4) << bad;
    }
    EXPECT_EQ(WireSettled(), "");
}

TEST_F(ScriptTest, BaudChangeLineIsFollowedByTheConnection)
{
    Document().LineSettings().m_nBaud = 6;
    Document().ApplyPortSettings();
    Run({"cb 832\r\n"});
    EXPECT_EQ(Wire(6), "cb 832\r");
    platform::LineSettings line;
    Document().Port().GetDCB(line);
    EXPECT_EQ(line.BaudRate, 115200u);
    EXPECT_EQ(Document().Port().GetParityChar(), 'O');
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nBaud, 8);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nParity, 1);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nStopBits, 2);
    EXPECT_EQ(WireSettled(), "cb 832\r");

    // Run from the command history, the check command follows.
    Document().ScriptRuns().m_bHistoryRunning = true;
    Run({"CB411\r\n"});
    EXPECT_EQ(Wire(16).substr(7), "CB411\rCK\r");
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nBaud, 4);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nParity, 2);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nStopBits, 0);
}

TEST_F(ScriptTest, BaudDigitZeroDependsOnTheDeviceAndUnknownDigitsChangeNothing)
{
    struct Case {
        int deviceType;
        int expected;
    };
    for (Case c : {Case{1, 4}, Case{3, 6}, Case{0, -1}}) {
        Document().LineSettings().m_nDeviceType = c.deviceType;
        Document().LineSettings().m_nBaud = 6;
        Run({"CB011\r\n"});
        EXPECT_EQ(Document().LineSettings().m_nBaud, c.expected) << c.deviceType;
    }
    Document().LineSettings().m_nDeviceType = 0;
    Document().LineSettings().m_nBaud = 4;
    Run({"CB911\r\n", "CB4\r\n"});
    EXPECT_EQ(Document().LineSettings().m_nBaud, 4);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nBaud, -1);
}

TEST_F(ScriptTest, SoftwareBreakThenPromptWait)
{
    m_app.Settings().m_bSoftwareBreak = true;
    m_app.Settings().m_nPromptWait = kLongSeconds;
    m_instrument.SetSilent(true);
    Later(200ms, [this] { m_instrument.Send(">"); });
    int result = SCRIPT_ERROR;
    EXPECT_TRUE(RunEndsByItself({"$B\r\n"}, &result));
    EXPECT_EQ(result, SCRIPT_CONTINUE);
    EXPECT_EQ(Wire(3), "===");
}

TEST_F(ScriptTest, ClockCommandLeavesNearTheStartOfASecond)
{
    Run({"$T\r\n"});
    std::string sent = Wire(21);
    ASSERT_EQ(sent.size(), 21u);
    EXPECT_EQ(sent.substr(0, 3), "TS ");
    EXPECT_EQ(sent.back(), '\r');
    EXPECT_EQ(m_instrument.Arrivals().size(), 1u);
}

TEST_F(ScriptTest, FindInstrumentKeepsTheFoundRateInTheConnection)
{
    m_instrument.AnswerBreaks(m_pty.SlavePath(), [](std::uint32_t rate) {
        return rate == 19200 ? std::string("\r\nPemberlin Test\r\n>") : std::string();
    });
    EXPECT_EQ(Run({"$F\r\n", "A\r\n"}), SCRIPT_CONTINUE);
    platform::LineSettings line;
    Document().Port().GetDCB(line);
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(Document().LineSettings().m_nBaud, 5);
    EXPECT_EQ(m_app.Settings().CurrentSlot().m_nBaud, 5);
    EXPECT_EQ(WireSettled().back(), '\r');
}

TEST_F(ScriptTest, CommandsOnAClosedPortDoNothingAndGoOn)
{
    Document().ClosePort();
    EXPECT_EQ(Run({"$T\r\n", "$S41\r\n", "$NA\r\n", "$tx\r\n", "$F\r\n", "A\r\n"}), SCRIPT_CONTINUE);
    // An explicit wait for a character that cannot come ends the run.
    EXPECT_EQ(Run({"$W62,5\r\n", "X\r\n"}), SCRIPT_ERROR);
    EXPECT_EQ(WireSettled(), "");
}

TEST_F(ScriptTest, LogCommandsCreateAppendAndSwitchFiles)
{
    TempDir dir;
    const std::string first = dir.File("first.log");
    const std::string second = dir.File("second.log");
    WriteFileText(second, "kept|");

    Run({"$L" + first + "\r\n", "$P one\r\n"});
    EXPECT_TRUE(Document().IsLogging());
    Run({"$l" + second + "\r\n", "$P two\r\n"});
    EXPECT_EQ(Document().GetLogPath(), second);
    EXPECT_EQ(ReadFileText(first), "\r\n[ one]\r\n");
    EXPECT_EQ(ReadFileText(second), "kept|\r\n[ two]\r\n");

    Run({"$L" + first + "\r\n"});
    EXPECT_EQ(ReadFileText(first), "");
}

TEST_F(ScriptTest, LogFileThatCannotBeOpenedIsReportedAndTheRunGoesOn)
{
    platform::RecordingMessageBackend messages;
    TempDir dir;
    const std::string path = dir.File("missing/x.log");
    EXPECT_EQ(Run({"$l" + path + "\r\n", "A\r\n"}), SCRIPT_CONTINUE);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "Could not open file for logging: " + path);
    EXPECT_FALSE(Document().IsLogging());
    EXPECT_EQ(Wire(2), "A\r");
}

TEST_F(ScriptTest, DocumentClosedDuringARunStaysUntilTheRunReturns)
{
    CParlimDoc* document = m_document.release();
    m_view.reset();
    QPointer<CParlimDoc> watch(document);
    Later(200ms, [document] { document->CloseDocument(); });
    document->GetScriptLines() = {"$D 5\r\n", "X\r\n"};
    document->ScriptRuns().m_bScriptRunning = true;
    {
        CScript script(document);
        script.Run();
        EXPECT_TRUE(watch);
    }
    EXPECT_TRUE(PumpUntil([&] { return watch.isNull(); }));
}

} // namespace
