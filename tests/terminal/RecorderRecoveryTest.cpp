#include "CClosingMessages.h"
#include "CSaveComboBox.h"
#include "CSerialPort.h"
#include "CommandRouter.h"
#include "ConnectedTerminal.h"
#include "Format.h"
#include "RealSender.h"
#include "SecondStart.h"
#include "YModemSender.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <atomic>
#include <deque>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using LineAnswer = InstrumentSimulator::LineAnswer;

std::string Pattern(std::size_t size, unsigned seed)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 13 + seed + i / 251) & 0xFF);
    return text;
}

// One row of the recorder's directory listing, in its fixed columns.
std::string ListingRow(const std::string& name, const std::string& extension, std::uint64_t size)
{
    std::string row = "  " + name;
    row.resize(10, ' ');
    row += " " + extension;
    const std::string sizeText = std::to_string(size);
    row += std::string(17 - sizeText.size(), ' ') + sizeText + " 2024/03/01 12:00:00";
    return row + "\r\n";
}

QWidget* VisibleWindow(int id)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QString::number(id))
            return widget;
    }
    return nullptr;
}

template <typename T>
T* Control(QWidget* window, int id)
{
    return window->findChild<T*>(QString::number(id));
}

// The terminal with an instrument that has a recorder: it answers a break
// with its prompt, "RR?" with a listing, and starts a batch transfer of the
// files a test gives it on "RY" or "MY". The recovery's dialogs are answered
// from a timer, as a user would.
class RecorderRecovery : public ConnectedTerminal {
protected:
    RecorderRecovery()
    {
        m_instrument.AnswerBreaks(m_pty.SlavePath(), [](std::uint32_t) { return std::string("\r\n>"); });
        QObject::connect(&m_answerTimer, &QTimer::timeout, [this] { AnswerDialogs(); });
        m_answerTimer.start(10);
    }

    // A transfer still running on the simulator's thread uses the sender.
    ~RecorderRecovery() override
    {
        if (m_transferStarted)
            PumpUntil([this] { return m_transferDone.load(); }, 30s);
    }

    // Replies of the instrument to whole lines; "RY..."/"MY..." start the
    // transfer of the files.
    void PlayRecorder(std::string listing, std::string sizeReply = {})
    {
        m_instrument.AnswerLines([this, listing, sizeReply](const std::string& line) -> std::optional<LineAnswer> {
            if (line == "RR?")
                return LineAnswer{listing, {}};
            if (line == "MM")
                return LineAnswer{sizeReply, {}};
            if (line == "ID")
                return LineAnswer{"\r\nSERIAL 4711\r\n>", {}};
            if ((line.rfind("RY", 0) == 0 || line.rfind("MY", 0) == 0 || line.rfind("my", 0) == 0) && m_sender)
                return LineAnswer{{}, [this](int fd) { return Transfer(fd); }};
            return std::nullopt;
        });
    }

    std::string Transfer(int fd)
    {
        if (m_waitForOutputOff && m_outputOff.get_future().wait_for(5s) != std::future_status::ready)
            return {};
        m_transferStarted = true;
        m_outcome = m_sender->Run(fd);
        m_transferDone = true;
        return m_outcome == YModemSender::Outcome::Cancelled ? "\r\nReturn code = 15\r\n\r\n>" : "\r\n>";
    }

    void AnswerDialogs()
    {
        if (QWidget* dialog = VisibleWindow(IDD_DOWNLOAD_DIRECTORY))
            AnswerDirectory(dialog);
        if (QWidget* dialog = VisibleWindow(IDD_SELECT_RECOVER_FILES))
            AnswerSelection(dialog);
        if (QWidget* window = VisibleWindow(IDD_RECOVER_DATA))
            WatchProgress(window);
    }

    void AnswerDirectory(QWidget* dialog)
    {
        // A user answering after the instrument's reply to a typed command showed.
        if (!m_answerAfterTerminalShows.empty() && Terminal().find(m_answerAfterTerminalShows) == std::string::npos)
            return;
        if (m_directories.empty()) {
            Control<QPushButton>(dialog, 2)->click();
            return;
        }
        Control<CSaveComboBox>(dialog, IDC_DOWNLOAD_DIRECTORY)->setEditText(QString::fromStdString(m_directories.front()));
        m_directories.pop_front();
        Control<QPushButton>(dialog, 1)->click();
    }

    // Row 0 ticks "Select All Files"; another row is chosen by a double click.
    void AnswerSelection(QWidget* dialog)
    {
        auto* list = Control<QTreeWidget>(dialog, IDC_RECORDER_FILES);
        m_offered.clear();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            m_offered.push_back(list->topLevelItem(row)->text(0).toStdString() + " " +
                                list->topLevelItem(row)->text(1).toStdString());
        if (m_chosenRow == 0) {
            Control<QCheckBox>(dialog, IDC_SELECT_ALL_FILES)->setChecked(true);
            Control<QPushButton>(dialog, 2)->click();
            return;
        }
        QTreeWidgetItem* item = list->topLevelItem(m_chosenRow - 1);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    void WatchProgress(QWidget* window)
    {
        const std::string total = Control<QLabel>(window, IDC_RECOVER_TOTAL_BYTES)->text().toStdString();
        if (m_totals.empty() || m_totals.back() != total)
            m_totals.push_back(total);
        m_corrections = Control<QLabel>(window, IDC_RECOVER_CORRECTIONS)->text().toStdString();
        m_mainWindowDisabled = m_mainWindowDisabled || !m_app->MainFrame()->isEnabled();
        auto* list = Control<QTreeWidget>(window, IDC_RECOVER_FILE_LIST);
        m_recovered.clear();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            m_recovered.push_back(list->topLevelItem(row)->text(0).toStdString() + " " +
                                  list->topLevelItem(row)->text(1).toStdString());
        if (m_disableOutput && !Control<QCheckBox>(window, IDC_DISABLE_WINDOW_OUTPUT)->isChecked()) {
            Control<QCheckBox>(window, IDC_DISABLE_WINDOW_OUTPUT)->click();
            m_outputOff.set_value();
        }
        if (m_disableOutput && m_doc->Port().m_bDeliver)
            m_deliveredWhileDisabled = true;
        const auto soFar = Control<QLabel>(window, IDC_RECOVER_BYTES_SO_FAR)->text().toLongLong();
        if (m_cancelAt > 0 && soFar >= m_cancelAt) {
            m_cancelAt = 0;
            if (m_closeMainWindow) {
                m_app->MainFrame()->close();
                m_progressOutlivedMainWindow = window->isVisible();
            } else {
                Control<QPushButton>(window, 2)->click();
            }
        }
    }

    // The sender's last read may come just after the receiver returned.
    YModemSender::Outcome TransferOutcome()
    {
        EXPECT_TRUE(PumpUntil([this] { return m_transferDone.load(); }, 20s));
        m_transferDone = false;
        m_transferStarted = false;
        return m_outcome;
    }

    std::string Terminal() const
    {
        std::string text;
        for (const std::string& line : m_doc->GetLogWnd()->Lines())
            text += line + "\n";
        return text;
    }

    // What the instrument received after the transfer's own bytes.
    std::string Wire() const { return m_instrument.Received(); }

    std::string Downloaded(const std::string& name) const { return ReadFileText(m_download.File(name)); }
    // A cancelled file leaves the part received under its partial name, and
    // the message says where.
    void ExpectOnlyThePartKept(const std::string& name, const std::string& content)
    {
        const std::string part = m_download.File(name + ".part");
        const std::string kept = ReadFileText(part);
        EXPECT_FALSE(kept.empty());
        EXPECT_TRUE(kept == content.substr(0, kept.size()));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery was cancelled.\r\n"
                                                               "The incomplete file was kept as " +
                                                               part + " (" + std::to_string(kept.size()) + " bytes)."});
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_download.Path()),
                                std::filesystem::directory_iterator()),
                  1);
    }

    TempDir m_download;
    QTimer m_answerTimer;
    std::deque<std::string> m_directories;
    std::string m_answerAfterTerminalShows;
    int m_chosenRow = 0;
    bool m_disableOutput = false;
    bool m_waitForOutputOff = false;
    std::promise<void> m_outputOff;
    std::int64_t m_cancelAt = 0;
    // At m_cancelAt the main window is closed instead of the transfer cancelled.
    bool m_closeMainWindow = false;
    bool m_progressOutlivedMainWindow = false;
    std::unique_ptr<YModemSender> m_sender;
    std::atomic<YModemSender::Outcome> m_outcome{YModemSender::Outcome::TimedOut};
    std::atomic<bool> m_transferStarted{false};
    std::atomic<bool> m_transferDone{false};

    std::vector<std::string> m_offered;
    std::vector<std::string> m_totals;
    std::vector<std::string> m_recovered;
    std::string m_corrections;
    bool m_mainWindowDisabled = false;
    bool m_deliveredWhileDisabled = false;
};

const std::string kAlpha = Pattern(100, 1);
const std::string kBeta = Pattern(3000, 2);
const std::string kGamma = Pattern(1500, 3);

std::string Listing()
{
    return "\r\nRECORDER DIRECTORY\r\n" + ListingRow("ALPHA", "000", kAlpha.size()) +
           ListingRow("EMPTY", "001", 0) + ListingRow("BETA", "002", kBeta.size()) +
           ListingRow("GAMMA", "003", kGamma.size()) + "  Total Bytes used on card 0:             4600 bytes\r\n" +
           " Total bytes used = 4600 of 1000000\r\n>";
}

} // namespace

TEST_F(RecorderRecovery, ChosenFileOfTheListingArrivesInTheCheckedDirectory)
{
    Start(0);
    PlayRecorder(Listing());
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"BETA.002", kBeta}});
    m_sender->m_damagedBlocks = {1};
    m_directories = {"", m_download.File("missing"), m_download.Path() + "/"};
    m_chosenRow = 2;

    m_doc->OnRecoverRecorder();

    EXPECT_EQ(m_offered, (std::vector<std::string>{"ALPHA.000 100", "BETA.002 3000", "GAMMA.003 1500"}));
    const std::string wire = Wire();
    const std::size_t query = wire.find("RR?\r");
    ASSERT_NE(query, std::string::npos) << wire;
    EXPECT_EQ(wire.substr(query + 4), "RY2\r");
    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Sent);
    EXPECT_TRUE(Downloaded("BETA.002") == kBeta);
    EXPECT_EQ(m_sender->Naks(), 1);
    EXPECT_EQ(m_corrections, "1");
    EXPECT_EQ(m_totals.front(), "3000");
    EXPECT_EQ(m_recovered, (std::vector<std::string>{"BETA.002 3000"}));
    EXPECT_TRUE(m_mainWindowDisabled);
    EXPECT_TRUE(m_app->MainFrame()->isEnabled());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"The directory cannot be blank",
                                                            "The directory does not exist", "Recovery Complete"}));
    // The directory is remembered without its trailing slash.
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, "SCB0"), m_download.Path());
    // Without "Disable Window Output" the transfer's bytes reach the terminal.
    EXPECT_NE(Terminal().find("BETA.002"), std::string::npos);
}

TEST_F(RecorderRecovery, AllFilesWithWindowOutputDisabledLeaveTheTerminalQuietOnlyMeanwhile)
{
    Start(0);
    PlayRecorder(Listing());
    m_sender = std::make_unique<YModemSender>(
        std::vector<YModemSender::File>{{"ALPHA.000", kAlpha}, {"BETA.002", kBeta}, {"GAMMA.003", kGamma}});
    WriteFileText(m_download.File("BETA.002"), "an older download of the same name, longer than before: " +
                                                   std::string(4000, 'x'));
    m_directories = {m_download.Path()};
    m_chosenRow = 0;
    m_disableOutput = true;
    m_waitForOutputOff = true;

    m_doc->OnRecoverRecorder();

    EXPECT_TRUE(Wire().ends_with("RR?\rRY\r")) << Wire();
    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Sent);
    EXPECT_TRUE(Downloaded("ALPHA.000") == kAlpha);
    EXPECT_TRUE(Downloaded("BETA.002") == kBeta);
    EXPECT_TRUE(Downloaded("GAMMA.003") == kGamma);
    EXPECT_EQ(m_totals.front(), "4600");
    EXPECT_EQ(m_recovered, (std::vector<std::string>{"ALPHA.000 100", "BETA.002 3000", "GAMMA.003 1500"}));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Recovery Complete"}));
    EXPECT_FALSE(m_deliveredWhileDisabled);
    EXPECT_EQ(Terminal().find("ALPHA.000"), std::string::npos) << Terminal();
    EXPECT_EQ(Terminal().find("GAMMA.003"), std::string::npos) << Terminal();

    // Output is back on after the download without touching the box.
    EXPECT_TRUE(m_doc->Port().m_bDeliver);
    Type("ID\r");
    EXPECT_TRUE(PumpUntil([&] { return Terminal().find("SERIAL 4711") != std::string::npos; }, 5s)) << Terminal();
}

TEST_F(RecorderRecovery, ALongListingOffersEveryFileAndItsTotal)
{
    Start(0);
    std::string listing = "\r\nRECORDER DIRECTORY\r\n";
    for (int file = 0; file < 40; ++file)
        listing += ListingRow(platform::Format("FILE%04d", file), "000", 1000 + file);
    listing += " Total bytes used = 41780 of 1000000\r\n>";
    PlayRecorder({});
    // At the instrument's pace the listing reaches the terminal in many pieces.
    m_instrument.AnswerLines([this, listing](const std::string& line) -> std::optional<LineAnswer> {
        if (line == "RR?")
            return LineAnswer{{}, [listing](int fd) {
                                  for (std::size_t at = 0; at < listing.size(); at += 64) {
                                      const std::string piece = listing.substr(at, 64);
                                      EXPECT_EQ(::write(fd, piece.data(), piece.size()),
                                                static_cast<ssize_t>(piece.size()));
                                      std::this_thread::sleep_for(2ms);
                                  }
                                  return std::string();
                              }};
        if (line == "RY")
            return LineAnswer{{}, [this](int fd) { return Transfer(fd); }};
        return std::nullopt;
    });
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"FILE0039.000", kBeta}});
    m_directories = {m_download.Path()};
    m_chosenRow = 0;

    m_doc->OnRecoverRecorder();

    ASSERT_EQ(m_offered.size(), 40u);
    EXPECT_EQ(m_offered.back(), "FILE0039.000 1039");
    EXPECT_TRUE(Wire().ends_with("RR?\rRY\r")) << Wire();
    EXPECT_EQ(m_totals.front(), "41780");
    EXPECT_TRUE(Downloaded("FILE0039.000") == kBeta);
}

TEST_F(RecorderRecovery, TypedRecorderCommandSkipsTheListingAndLearnsTheSizeFromTheHeader)
{
    Start(0);
    PlayRecorder(Listing());
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"GAMMA.003", kGamma}});
    m_directories = {m_download.Path()};

    Type("RY3\r");

    EXPECT_EQ(Wire(), "RY3\r");
    EXPECT_TRUE(m_instrument.BreakRates().empty());
    EXPECT_TRUE(Downloaded("GAMMA.003") == kGamma);
    ASSERT_GE(m_totals.size(), 2u);
    EXPECT_EQ(m_totals.front(), "Not known");
    EXPECT_EQ(m_totals.back(), "1500");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Recorder).empty());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Recovery Complete"}));
}

TEST_F(RecorderRecovery, LoopRecorderFromTheMenuAndTyped)
{
    Start(3);
    const std::string first = Pattern(768, 4);
    const std::string second = Pattern(5000, 5);
    PlayRecorder({}, "\r\nPages used = 12, free = 4\r\n bytes/page = 64 \r\n>");
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"LOOP.000", first}});
    m_directories = {m_download.Path(), m_download.Path()};

    ASSERT_TRUE(CommandRouter::Dispatch(m_app->MainFrame()->ChainFor(m_doc), ID_FILE_RECOVER_LOOP_RECORDER));
    EXPECT_TRUE(Wire().ends_with("MM\rMY\r")) << Wire();
    EXPECT_EQ(m_instrument.BreakRates().size(), 1u);
    EXPECT_TRUE(Downloaded("LOOP.000") == first);
    EXPECT_EQ(m_totals.front(), "768");
    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Sent);

    const std::size_t before = Wire().size();
    m_totals.clear();
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"LOOP.000", second}});
    Type("my\r");
    EXPECT_EQ(Wire().substr(before), "my\r");
    EXPECT_TRUE(Downloaded("LOOP.000") == second);
    EXPECT_EQ(m_totals.front(), "Not known");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).empty());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Recovery Complete", "Recovery Complete"}));
}

// lrzsz's sender on the master end for the whole transfer; its exit status.
int RunRealSender(int fd, const std::vector<std::string>& arguments)
{
    const int flags = ::fcntl(fd, F_GETFL);
    RealSender sender(fd, arguments);
    const int status = sender.Started() ? sender.Wait() : -1;
    ::fcntl(fd, F_SETFL, flags);
    return status;
}

TEST_F(RecorderRecovery, TypedLoopRecorderCommandWithARealSender)
{
    Start(6);
    TempDir source;
    const std::string wrapped = Pattern(300000, 7);
    const std::string small = Pattern(1500, 8);
    WriteFileText(source.File("LOOP0001.BIN"), wrapped);
    WriteFileText(source.File("LOOP0002.BIN"), small);
    std::atomic<int> status{-1};
    m_instrument.AnswerLines([&](const std::string& line) -> std::optional<LineAnswer> {
        if (line != "MY")
            return std::nullopt;
        return LineAnswer{{}, [&](int fd) {
                              status = RunRealSender(fd, {"sz", "--ymodem", "-q", source.File("LOOP0001.BIN"),
                                                          source.File("LOOP0002.BIN")});
                              return std::string("\r\n>");
                          }};
    });
    m_directories = {m_download.Path()};

    Type("MY\r");

    EXPECT_TRUE(PumpUntil([&] { return status != -1; }, 20s));
    EXPECT_TRUE(WIFEXITED(status.load()) && WEXITSTATUS(status.load()) == 0);
    EXPECT_TRUE(Downloaded("LOOP0001.BIN") == wrapped);
    EXPECT_TRUE(Downloaded("LOOP0002.BIN") == small);
    EXPECT_EQ(m_recovered, (std::vector<std::string>{"LOOP0001.BIN 300000", "LOOP0002.BIN 1500"}));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Recovery Complete"}));
}

TEST_F(RecorderRecovery, CancelAfterATypedCommandEndsTheWaitingSenderSoTheInstrumentAnswersAgain)
{
    Start(0);
    m_instrument.AnswerLines([this](const std::string& line) -> std::optional<LineAnswer> {
        if (line == "RY")
            return LineAnswer{"\r\nSENDING\r\n", [this](int fd) { return Transfer(fd); }};
        return line == "PS0" ? std::optional<LineAnswer>({"\r\nPS0 OK\r\n>", {}}) : std::nullopt;
    });
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"BETA.002", kBeta}});
    m_answerAfterTerminalShows = "SENDING"; // Cancel while the sender waits for the receiver.
    Type("RY\r");
    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Cancelled);
    Type("PS0\r");
    EXPECT_TRUE(PumpUntil([&] { return Terminal().find("PS0 OK") != std::string::npos; }, 5s)) << Terminal();
}

// What the line carries until the flag is up (or the time is up).
std::string ReadUntil(int fd, const std::atomic<bool>& flag)
{
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (!flag && std::chrono::steady_clock::now() < deadline) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, 20) <= 0)
            continue;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

TEST_F(RecorderRecovery, AScriptHandedOverDuringATransferWaitsForTheEndOfTheRecovery)
{
    Start(0);
    TempDir source;
    const std::string big = Pattern(1024 * 1024, 11);
    WriteFileText(source.File("BIG.000"), big);
    const std::string script = source.File("hand.qvs");
    WriteFileText(script, "HANDOVER\r\n$W\">\",5\r\nHANDDONE\r\n");
    const std::string refused = source.File("later.qvs");
    std::atomic<bool> receiving{false};
    std::atomic<bool> handedOver{false};
    std::atomic<int> status{-1};
    std::string beforeSender;
    m_instrument.AnswerLines([&](const std::string& line) -> std::optional<LineAnswer> {
        if (line != "RY")
            return std::nullopt;
        return LineAnswer{{}, [&](int fd) {
                              receiving = true;
                              // The sender starts once the second start has its answer.
                              beforeSender = ReadUntil(fd, handedOver);
                              status = RunRealSender(fd, {"sz", "--ymodem", "-q", source.File("BIG.000")});
                              return std::string("\r\n>");
                          }};
    });
    m_directories = {m_download.Path()};
    TempDir secondConfig;
    std::unique_ptr<QProcess> second, third;
    QTimer duringRecovery;
    QObject::connect(&duringRecovery, &QTimer::timeout, [&] {
        if (!second && receiving)
            second = StartSecond(secondConfig.Path(), script);
        if (second && second->state() == QProcess::NotRunning && !third)
            third = StartSecond(secondConfig.Path(), refused);
        handedOver = third && third->state() == QProcess::NotRunning;
    });
    duringRecovery.start(10);

    Type("RY\r");
    const InstrumentSimulator::Clock::time_point recoveryEnded = InstrumentSimulator::Clock::now();

    ASSERT_TRUE(second);
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(SecondStartExitCode(*second), 0);
    EXPECT_EQ(SecondStartExitCode(*third), 1);
    EXPECT_TRUE(PumpUntil([&] { return status != -1; }, 20s));
    EXPECT_TRUE(WIFEXITED(status.load()) && WEXITSTATUS(status.load()) == 0);
    EXPECT_EQ(beforeSender.find_first_not_of('C'), std::string::npos) << beforeSender;
    EXPECT_TRUE(Downloaded("BIG.000") == big);
    const std::string refusal = "The script " + refused + " was not run: the script " + script + " is waiting to run.";
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Recovery Complete", refusal}));
    ASSERT_TRUE(PumpUntil([&] { return Wire().find("HANDDONE\r") != std::string::npos; }, kGenerous)) << Wire();
    EXPECT_NE(Wire().find("RY\r"), std::string::npos);
    EXPECT_LT(Wire().find("HANDOVER\r"), Wire().find("HANDDONE\r"));
    for (const InstrumentSimulator::Arrival& arrival : m_instrument.Arrivals()) {
        if (arrival.bytes.find_first_of("HANDOVE") != std::string::npos) {
            EXPECT_GE(arrival.time, recoveryEnded) << arrival.bytes;
        }
    }
}

// A recovery from a new cable; a script handed over during it waits for the
// line, then the line is lost or the program closes.
TEST_F(RecorderRecovery, AHandedOverScriptThatCanNoLongerRunIsReportedByName)
{
    Start(0);
    TempDir source;
    WriteFileText(source.File("LARGE.000"), Pattern(4 * 1024 * 1024, 12));
    const std::string script = source.File("hand.qvs");
    WriteFileText(script, "HANDOVER\r\n");
    TempDir secondConfig;
    for (const bool loseLine : {true, false}) {
        PtyPair cable;
        cable.MapTo(kPort);
        m_doc->ClosePort();
        m_doc->Connect();
        RealSender sender(cable.MasterFd(), {"sz", "--ymodem", "-q", source.File("LARGE.000")});
        std::unique_ptr<QProcess> second;
        bool ended = false;
        QTimer during;
        QObject::connect(&during, &QTimer::timeout, [&] {
            QWidget* window = VisibleWindow(IDD_RECOVER_DATA);
            if (!second && window && Control<QLabel>(window, IDC_RECOVER_BYTES_SO_FAR)->text().toLongLong() >= 100000)
                second = StartSecond(secondConfig.Path(), script);
            if (!second || ended || second->state() != QProcess::NotRunning)
                return;
            ended = true;
            if (loseLine) {
                sender.Kill();
                cable.CloseMaster();
            } else {
                m_app->MainFrame()->close();
            }
        });
        during.start(10);
        m_directories = {m_download.Path()};
        m_messages.Clear();
        Type("RY\r");
        ASSERT_TRUE(second);
        EXPECT_EQ(SecondStartExitCode(*second), 0);
        const std::string text = "The script " + script + " was not run: " +
                                 (loseLine ? "the connection lost its line." : "Parlim is closing.");
        EXPECT_TRUE(PumpUntil([&] { return std::ranges::count(m_messages.Texts(), text) == 1; }, kGenerous))
            << ::testing::PrintToString(m_messages.Texts());
    }
}

TEST_F(RecorderRecovery, AVanishedLineShowsDisconnectedAndClosesItsDevice)
{
    Start(0);
    TempDir source;
    WriteFileText(source.File("SMALL.000"), kBeta);
    WriteFileText(source.File("LARGE.000"), Pattern(4 * 1024 * 1024, 12));
    auto status = [this] {
        m_app->MainFrame()->UpdateCommandUI();
        return m_app->MainFrame()->PaneText(ID_INDICATOR_SETTINGS);
    };
    // Reconnected to a new cable, a recovery from it, and the cable goes
    // away after the transfer or in the middle of it.
    auto recoverThenVanish = [&](const std::string& file, bool midway) {
        PtyPair cable;
        cable.MapTo(kPort);
        m_doc->ClosePort();
        m_doc->Connect();
        ASSERT_EQ(status(), "9600, N, 8, 1");
        ASSERT_EQ(cable.SlaveDescriptors(), 2);
        RealSender sender(cable.MasterFd(), {"sz", "--ymodem", "-q", source.File(file)});
        ASSERT_TRUE(sender.Started());
        QTimer unplug;
        QObject::connect(&unplug, &QTimer::timeout, [&] {
            QWidget* window = VisibleWindow(IDD_RECOVER_DATA);
            if (midway && window &&
                Control<QLabel>(window, IDC_RECOVER_BYTES_SO_FAR)->text().toLongLong() >= 100000) {
                sender.Kill();
                cable.CloseMaster();
            }
        });
        unplug.start(10);
        m_directories = {m_download.Path()};
        Type("RY\r");
        if (!midway) {
            EXPECT_EQ(WEXITSTATUS(sender.Wait()), 0);
            EXPECT_TRUE(Downloaded(file) == ReadFileText(source.File(file)));
            EXPECT_EQ(status(), "9600, N, 8, 1");
            cable.CloseMaster();
        }
        EXPECT_TRUE(PumpUntil([&] { return status() == "Disconnected"; }, kGenerous));
        EXPECT_TRUE(PumpUntil([&] { return cable.SlaveDescriptors() == 1; }, kGenerous));
    };
    recoverThenVanish("SMALL.000", false);
    recoverThenVanish("LARGE.000", true);
}

TEST_F(RecorderRecovery, CancelAbortsOnTheWireAndBreaksTheSenderOff)
{
    Start(0);
    m_app->Settings().m_bSoftwareBreak = true;
    const std::string big = Pattern(40000, 6);
    PlayRecorder(Listing());
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"BIG.000", big}});
    m_directories = {m_download.Path()};
    m_cancelAt = 2048;

    m_doc->OnRecoverRecorder();

    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Cancelled);
    // "===" before the listing, then the six of the end of the transfer.
    EXPECT_TRUE(PumpUntil([&] { return m_instrument.BreakRates().size() == 3; }, 5s));
    EXPECT_TRUE(Wire().ends_with("======")) << Wire();
    ExpectOnlyThePartKept("BIG.000", big);
    EXPECT_TRUE(m_app->MainFrame()->isEnabled());
    EXPECT_EQ(VisibleWindow(IDD_RECOVER_DATA), nullptr);
}

TEST_F(RecorderRecovery, ClosingTheMainWindowDuringATransferCancelsItCleanly)
{
    Start(0);
    PlayRecorder(Listing());
    const std::string big = Pattern(40000, 6);
    m_sender = std::make_unique<YModemSender>(std::vector<YModemSender::File>{{"BIG.000", big}});
    m_directories = {m_download.Path()};
    m_cancelAt = 2048;
    m_closeMainWindow = true;
    CClosingMessages closingMessages(m_messages);
    platform::SetMessageBackend(&closingMessages);
    QObject::connect(m_app->MainFrame(), &CParlimMF::Closed, [&] { closingMessages.EndAnswers(); });

    m_doc->OnRecoverRecorder();

    platform::SetMessageBackend(&m_messages);
    EXPECT_EQ(TransferOutcome(), YModemSender::Outcome::Cancelled);
    // The progress window went with the main window, and no box was left behind them.
    EXPECT_FALSE(m_progressOutlivedMainWindow);
    EXPECT_TRUE(m_messages.Texts().empty());
    const std::string kept = ReadFileText(m_download.File("BIG.000.part"));
    EXPECT_TRUE(!kept.empty() && big.starts_with(kept));
}

TEST_F(RecorderRecovery, ExitWhileWaitingForTheRecorderEndsTheProgramWithoutAMessage)
{
    Start(0);
    m_instrument.AnswerBreaks(m_pty.SlavePath(), [](std::uint32_t) { return std::string(); });
    m_directories = {m_download.Path()};
    // File > Exit, chosen while the recovery waits for a prompt after its break.
    QTimer exitOnBreak;
    QObject::connect(&exitOnBreak, &QTimer::timeout, [&] {
        if (m_instrument.BreakRates().empty())
            return;
        exitOnBreak.stop();
        m_app->MainFrame()->DispatchCommand(ID_APP_EXIT);
    });
    exitOnBreak.start(10);

    m_doc->OnRecoverRecorder();

    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_FALSE(m_app->MainFrame()->isVisible());
    EXPECT_TRUE(PumpUntil([&] { return m_app->MainFrame()->Documents().empty(); }));
}

TEST_F(RecorderRecovery, RefusalsOfTheInstrumentEndTheCommandWithTheirMessage)
{
    Start(0);
    m_directories = {m_download.Path(), m_download.Path()};
    PlayRecorder("\r\nERR 021\r\n>");
    m_doc->OnRecoverRecorder();
    PlayRecorder("\r\n Total bytes used = 0\r\n>");
    m_doc->OnRecoverRecorder();
    EXPECT_EQ(Wire().find("RY"), std::string::npos) << Wire();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"The Tarnhold Recorder can not be found.\n                 Verify ADCP type. ",
                                        "The is no data to recover from the recorder."}));

    // A cancelled directory dialog sends nothing.
    m_messages.Clear();
    const std::size_t before = Wire().size();
    m_doc->OnRecoverRecorder();
    EXPECT_EQ(Wire().size(), before);

    // A typed command the instrument refuses.
    m_instrument.AnswerLines([](const std::string& line) -> std::optional<LineAnswer> {
        if (line == "RY")
            return LineAnswer{"\r\nERR 020\r\n>", {}};
        return std::nullopt;
    });
    m_directories = {m_download.Path()};
    m_answerAfterTerminalShows = "ERR 020";
    Type("RY\r");
    EXPECT_EQ(Wire().substr(before), "RY\r");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Recorder).empty());
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_TRUE(m_messages.Texts()[0].starts_with("The Tarnhold Recorder can not be found"));
    m_messages.Clear();
    m_answerAfterTerminalShows.clear();
    const std::size_t typed = Wire().size();

    // No prompt after the break.
    m_instrument.AnswerBreaks(m_pty.SlavePath(), [](std::uint32_t) { return std::string(); });
    m_directories = {m_download.Path()};
    m_doc->OnRecoverRecorder();
    EXPECT_EQ(Wire().size(), typed);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Cannot communicate properly with the recorder."}));
}

TEST_F(RecorderRecovery, LoopRecorderRefusals)
{
    Start(5);
    m_directories = {m_download.Path(), m_download.Path()};
    PlayRecorder({}, "\r\nMM\r\nERR 003\r\n>");
    m_doc->OnRecoverLoopRecorder();
    EXPECT_EQ(Wire().find("MY"), std::string::npos) << Wire();

    m_instrument.AnswerLines([](const std::string& line) -> std::optional<LineAnswer> {
        if (line == "MM")
            return LineAnswer{"\r\n Used = 0.5MB\r\n>", {}};
        if (line == "MY")
            return LineAnswer{"\r\nERR 004\r\n>", {}};
        return std::nullopt;
    });
    m_doc->OnRecoverLoopRecorder();
    EXPECT_TRUE(Wire().ends_with("MM\rMY\r")) << Wire();

    m_directories = {m_download.Path()};
    m_answerAfterTerminalShows = "ERR 004";
    m_doc->GetLogWnd()->Clear();
    Type("MY\r");
    EXPECT_TRUE(Wire().ends_with("MM\rMY\rMY\r")) << Wire();
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).empty());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Cannot communicate properly with the recorder.",
                                                            "Loop-Recorder not present.",
                                                            "Loop-Recorder not present."}));
}
