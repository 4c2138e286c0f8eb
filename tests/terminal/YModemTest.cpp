#include "CLineHold.h"
#include "CSerialPort.h"
#include "CSerialYModemPort.h"
#include "CYModemDisplay.h"
#include "FailingMount.h"
#include "FileSizeLimit.h"
#include "GuiTestApp.h"
#include "IRecoverProgress.h"
#include "MessagePump.h"
#include "Messages.h"
#include "PtyPair.h"
#include "RealSender.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "YModemScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <dirent.h>
#include <functional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kTestPort = 203;

// Records what the receiver reports; cancels when told to.
class FakeProgress : public IRecoverProgress {
public:
    void SetDirectory(const std::string& directory) override { m_directory = directory; }
    void SetCorrections(int corrections) override { m_corrections = corrections; }
    void SetTotalBytes(std::int64_t total) override { m_totals.push_back(total); }
    void StartFile(const std::string& name, std::int64_t) override { m_started.push_back(name); }
    void FileDone(const std::string& name, std::int64_t size) override { m_done.emplace_back(name, size); }
    void UpdateProgress(std::int64_t, std::int64_t batchBytes, std::int64_t, std::int64_t) override
    {
        m_batchBytes = batchBytes;
        if (m_onProgress)
            m_onProgress(batchBytes);
    }
    void ShowComplete() override { ++m_completes; }
    void PostNoData() override { ++m_noData; }
    bool CheckCancel() override
    {
        platform::PumpMessages();
        return !m_cancelled;
    }
    bool IsShown() const override { return !m_cancelled; }

    std::string m_directory;
    int m_corrections = 0;
    std::vector<std::int64_t> m_totals;
    std::vector<std::string> m_started;
    std::vector<std::pair<std::string, std::int64_t>> m_done;
    std::int64_t m_batchBytes = 0;
    int m_completes = 0;
    int m_noData = 0;
    bool m_cancelled = false;
    std::function<void(std::int64_t)> m_onProgress;
};

std::string Pattern(std::size_t size, unsigned seed)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 31 + seed + i / 253) & 0xFF);
    return text;
}

class YModemTest : public ::testing::Test {
protected:
    YModemTest()
    {
        GuiTestApp();
        m_pty.MapTo(kTestPort);
        m_port.SetParams(nullptr, kTestPort, 115200, 'N', 1, 8, 4096, 128);
        EXPECT_EQ(m_port.Open(), S_OK);
    }
    ~YModemTest() override { m_port.Close(); }

    void Receive(std::int64_t expected = -1, bool softwareBreak = false)
    {
        CYModemDisplay modem(&m_line, m_folder, expected, &m_progress);
        modem.m_bSoftwareBreak = softwareBreak;
        modem.Receive();
    }

    // Plays the script on the instrument's end while the receiver runs.
    void ReceiveScripted(YModemScript& sender, const std::function<void(YModemScript&)>& script,
                         std::int64_t expected = -1, bool softwareBreak = false)
    {
        sender.Start(script);
        Receive(expected, softwareBreak);
        sender.Join();
    }

    // The instrument sends the first 1024-byte blocks of a file, then cancels.
    void CancelledBySenderAfter(int blocks, const std::string& name, const std::string& content)
    {
        SendBlocksThenEnd(blocks, name, content, "\x18\x18");
    }
    // The first 1024-byte blocks of a file, each acknowledged, then the bytes
    // that end the transfer; the receiver ends with its break.
    void SendBlocksThenEnd(int blocks, const std::string& name, const std::string& content,
                           const std::string& ending)
    {
        YModemScript sender(m_pty.MasterFd());
        ReceiveScripted(
            sender,
            [&](YModemScript& s) {
                s.OpenFile(name, std::to_string(content.size()));
                for (int block = 1; block <= blocks; ++block)
                    s.SendAcknowledged(YModemScript::Block(static_cast<std::uint8_t>(block),
                                                           content.substr((block - 1) * 1024, 1024), true));
                s.Write(ending);
                s.ExpectText("======", YModemScript::Milliseconds(15000));
            },
            -1, true);
        EXPECT_FALSE(sender.Failed()) << sender.Received();
    }

    std::string Downloaded(const std::string& name) const { return ReadFileText(m_download.File(name)); }
    std::vector<std::string> DownloadNames() const { return NamesIn(m_download.Path()); }
    // Every name in the folder, hidden ones included.
    static std::vector<std::string> NamesIn(const std::string& folder)
    {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempSettings m_settings;
    TempDir m_download;
    // Where the receiver stores: the download directory unless a test moves it.
    std::string m_folder = m_download.Path();
    PtyPair m_pty;
    CSerialPort m_port;
    CLineHold m_hold{m_port};
    CSerialYModemPort m_line{m_port, m_hold};
    FakeProgress m_progress;
    platform::RecordingMessageBackend m_messages;
};

TEST(Crc16, MatchesTheCheckValueOfTheAlgorithm)
{
    const std::string text = "123456789";
    EXPECT_EQ(CCrc16::Compute(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0x31C3);
    EXPECT_EQ(CCrc16::Compute(nullptr, 0), 0);
}

TEST_F(YModemTest, StoresMixedBlockSizesAndDropsTheFillOfTheLastBlock)
{
    const std::string small = Pattern(300, 1);
    const std::string large = Pattern(1000, 2);
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.SendFile("SMALL.000", small, false);
        s.SendFile("LARGE.000", large, true);
        s.EndBatch();
    });

    EXPECT_FALSE(sender.Failed());
    EXPECT_TRUE(Downloaded("SMALL.000") == small);
    EXPECT_TRUE(Downloaded("LARGE.000") == large);
    ASSERT_EQ(m_progress.m_done.size(), 2u);
    EXPECT_EQ(m_progress.m_done[1], (std::pair<std::string, std::int64_t>("LARGE.000", 1000)));
    EXPECT_EQ(m_progress.m_batchBytes, 1300);
    // A total not given is replaced by the first file's size.
    EXPECT_EQ(m_progress.m_totals.front(), -1);
    EXPECT_EQ(m_progress.m_totals.at(1), 300);
    EXPECT_EQ(m_progress.m_completes, 1);
    EXPECT_EQ(m_progress.m_corrections, 0);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(YModemTest, DamagedAndLateBlocksAreAskedForAgainAndCounted)
{
    const std::string content = Pattern(2048, 3);
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.OpenFile("DATA.BIN", "2048");
        // Bad CRC: answered with NAK.
        s.Write(YModemScript::Block(1, content.substr(0, 1024), true, true));
        s.Expect(0x15);
        s.SendAcknowledged(YModemScript::Block(1, content.substr(0, 1024), true));
        // Only the start of a block, then silence: the read times out and
        // the block is asked for again.
        s.Write(std::string("\x02", 1));
        s.Expect(0x15, YModemScript::Milliseconds(6000));
        s.SendAcknowledged(YModemScript::Block(2, content.substr(1024), true));
        s.CloseFile();
        s.EndBatch();
    });

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_TRUE(Downloaded("DATA.BIN") == content);
    EXPECT_EQ(m_progress.m_corrections, 2);
    EXPECT_EQ(m_progress.m_completes, 1);
}

TEST_F(YModemTest, AnIntactRepeatOfTheLastBlockIsAcknowledgedButNotStoredTwice)
{
    const std::string content = Pattern(256, 4);
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.OpenFile("REPEAT.BIN", "256");
        s.SendAcknowledged(YModemScript::Block(1, content.substr(0, 128), false));
        s.SendAcknowledged(YModemScript::Block(1, content.substr(0, 128), false));
        s.SendAcknowledged(YModemScript::Block(2, content.substr(128), false));
        s.CloseFile();
        s.EndBatch();
    });

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_TRUE(Downloaded("REPEAT.BIN") == content);
    EXPECT_EQ(m_progress.m_completes, 1);
}

TEST_F(YModemTest, AnOutOfSequenceBlockAbortsAndIsReportedWithTheFileName)
{
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(
        sender,
        [&](YModemScript& s) {
            s.OpenFile("SKIP.BIN", "512");
            s.Write(YModemScript::Block(3, Pattern(128, 5), false));
            s.Expect(0x18);
            s.Expect(0x18);
            s.ExpectText("======", YModemScript::Milliseconds(10000));
        },
        -1, true);

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_EQ(m_progress.m_completes, 0);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "The recovery of SKIP.BIN failed.\r\nA block came out of order.");
    EXPECT_TRUE(DownloadNames().empty());
    EXPECT_TRUE(m_progress.m_done.empty());
}

TEST_F(YModemTest, HeaderNamesAreReducedToTheirLastComponentAndDotNamesRefused)
{
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(
        sender,
        [&](YModemScript& s) {
            s.SendFile("../../outside/PATH.BIN", "abc", false);
            s.Expect('C');
            s.Write(YModemScript::Header("sub/..", "3"));
            s.Expect(0x18);
            s.Expect(0x18);
            s.DrainFor(YModemScript::Milliseconds(6000));
        },
        -1, true);

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_EQ(Downloaded("PATH.BIN"), "abc");
    EXPECT_EQ(m_progress.m_completes, 0);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "The file header holds no valid file name: ..");
}

TEST_F(YModemTest, AFileThatCannotBeCreatedAbortsWithAMessage)
{
    YModemScript sender(m_pty.MasterFd());
    sender.Start([&](YModemScript& s) {
        s.Expect('C');
        s.Write(YModemScript::Header("GONE.BIN", "10"));
        s.Expect(0x18);
        s.DrainFor(YModemScript::Milliseconds(6000));
    });
    const std::string missing = m_download.File("missing");
    {
        CYModemDisplay modem(&m_line, missing, -1, &m_progress);
        modem.Receive();
    }
    sender.Join();

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Cannot create file " + missing + "/GONE.BIN.");
    EXPECT_EQ(m_progress.m_completes, 0);
}

TEST_F(YModemTest, NothingToReceiveSendsNothingAndSaysSo)
{
    YModemScript sender(m_pty.MasterFd());
    Receive(0);
    EXPECT_EQ(sender.NextByte(YModemScript::Milliseconds(700)), -1);
    EXPECT_EQ(m_progress.m_noData, 1);
    EXPECT_EQ(m_progress.m_completes, 0);
}

// Cancel from the window and the program starting to close both end the
// transfer on the wire; the part received stays only under its partial name.
TEST_F(YModemTest, CancelAndClosingAbortOnTheWireAndKeepThePartReceived)
{
    const std::string oneFile = "The recovery was cancelled.\r\nThe incomplete file was kept as " +
                                m_download.File("BIG.BIN.part") + " (1024 bytes).";
    const std::vector<std::function<void()>> stops = {
        [this] { m_progress.m_cancelled = true; },
        [] { platform::SetClosing(true); },
    };
    for (const auto& stop : stops) {
        m_messages.Clear();
        YModemScript sender(m_pty.MasterFd());
        m_progress.m_onProgress = [&](std::int64_t) { stop(); };
        ReceiveScripted(
            sender,
            [&](YModemScript& s) {
                s.OpenFile("BIG.BIN", "4096");
                s.Write(YModemScript::Block(1, Pattern(1024, 6), true));
                // The block's ACK may or may not leave before the abort purges it.
                s.ExpectText("\x18\x18", YModemScript::Milliseconds(5000));
                s.ExpectText("======", YModemScript::Milliseconds(5000));
            },
            -1, true);
        platform::SetClosing(false);
        m_progress.m_cancelled = false;

        EXPECT_FALSE(sender.Failed()) << sender.Received();
        EXPECT_EQ(sender.Received().substr(sender.Received().size() - 6), "======");
        EXPECT_EQ(m_progress.m_completes, 0);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{oneFile});
        EXPECT_EQ(DownloadNames(), std::vector<std::string>{"BIG.BIN.part"});
        EXPECT_TRUE(Downloaded("BIG.BIN.part") == Pattern(1024, 6));
    }
}

TEST_F(YModemTest, ReceivesABatchFromARealSender)
{
    TempDir source;
    const std::string wrapped = Pattern(40000, 7);
    const std::string odd = Pattern(1500, 8);
    WriteFileText(source.File("WRAP.000"), wrapped);
    WriteFileText(source.File("EMPTY.000"), "");
    WriteFileText(source.File("ODD.000"), odd);

    RealSender small(m_pty.MasterFd(), {"sz", "--ymodem", "-q", source.File("WRAP.000"),
                                        source.File("EMPTY.000")});
    ASSERT_TRUE(small.Started());
    Receive();
    EXPECT_EQ(WEXITSTATUS(small.Wait()), 0);
    EXPECT_TRUE(Downloaded("WRAP.000") == wrapped);
    EXPECT_EQ(Downloaded("EMPTY.000"), "");
    ASSERT_EQ(m_progress.m_done.size(), 2u);
    EXPECT_EQ(m_progress.m_done[1], (std::pair<std::string, std::int64_t>("EMPTY.000", 0)));

    RealSender large(m_pty.MasterFd(), {"sz", "--ymodem", "-k", "-q", source.File("ODD.000")});
    ASSERT_TRUE(large.Started());
    Receive();
    EXPECT_EQ(WEXITSTATUS(large.Wait()), 0);
    EXPECT_TRUE(Downloaded("ODD.000") == odd);
    EXPECT_EQ(m_progress.m_completes, 2);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(YModemTest, ASenderThatStopsMidwayIsReportedWithWhyAndThePartIsKept)
{
    TempDir source;
    WriteFileText(source.File("HALF.000"), Pattern(200000, 9));
    RealSender sender(m_pty.MasterFd(), {"sz", "--ymodem", "-k", "-q", source.File("HALF.000")});
    ASSERT_TRUE(sender.Started());
    m_progress.m_onProgress = [&](std::int64_t received) {
        if (received >= 10240 && m_progress.m_onProgress) {
            sender.Kill();
            m_pty.CloseMaster();
            m_progress.m_onProgress = nullptr;
        }
    };
    Receive();

    EXPECT_EQ(m_progress.m_completes, 0);
    const std::string kept = Downloaded("HALF.000.part");
    EXPECT_GE(kept.size(), 10240u);
    EXPECT_TRUE(kept == Pattern(200000, 9).substr(0, kept.size()));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery of HALF.000 failed.\r\nThe line was lost.\r\n"
                                                           "The incomplete file was kept as " +
                                                           m_download.File("HALF.000.part") + " (" +
                                                           std::to_string(kept.size()) + " bytes)."});
    EXPECT_TRUE(m_progress.m_done.empty());
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"HALF.000.part"});
}

TEST_F(YModemTest, AnEndOfFileBeforeTheAnnouncedSizeKeepsThePartOnly)
{
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.OpenFile("SHORT.BIN", "300");
        s.SendAcknowledged(YModemScript::Block(1, Pattern(128, 10), false));
        s.Write("\x04");
        s.ExpectText("\x18\x18", YModemScript::Milliseconds(5000));
        s.DrainFor(YModemScript::Milliseconds(6000));
    });

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery of SHORT.BIN failed.\r\n"
                                                           "The file ended before its announced size.\r\n"
                                                           "The incomplete file was kept as " +
                                                           m_download.File("SHORT.BIN.part") + " (128 bytes)."});
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"SHORT.BIN.part"});
}

TEST_F(YModemTest, AReceivedFileReplacesALinkInsteadOfWritingThroughIt)
{
    TempDir elsewhere;
    WriteFileText(elsewhere.File("target"), "precious");
    ASSERT_EQ(::symlink(elsewhere.File("target").c_str(), m_download.File("LINKED.000").c_str()), 0);
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.SendFile("LINKED.000", "fresh", false);
        s.EndBatch();
    });

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_EQ(ReadFileText(elsewhere.File("target")), "precious");
    struct stat info {};
    ASSERT_EQ(::lstat(m_download.File("LINKED.000").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(Downloaded("LINKED.000"), "fresh");
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"LINKED.000"});
}

// The header phase asks only with 'C': a sender takes a NAK there as a
// request for checksum blocks.
TEST_F(YModemTest, AnUnansweredHeaderRequestIsRepeatedWithCAndNeverNak)
{
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.ExpectText("\x18\x18", YModemScript::Milliseconds(30000));
        s.DrainFor(YModemScript::Milliseconds(6000));
    });

    const std::string sent = sender.Received();
    const std::string requests = sent.substr(0, sent.find('\x18'));
    EXPECT_GE(requests.size(), 2u);
    EXPECT_EQ(requests, std::string(requests.size(), 'C'));
    EXPECT_EQ(sent.find('\x15'), std::string::npos);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery failed: no file header came from the instrument."});
}

TEST_F(YModemTest, ARepeatedHeaderIsAnsweredWithAckAndANewRequest)
{
    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.OpenFile("TWICE.BIN", "5");
        s.Write(YModemScript::Header("TWICE.BIN", "5"));
        s.Expect(0x06);
        s.Expect('C');
        s.SendAcknowledged(YModemScript::Block(1, "again", false));
        s.CloseFile();
        s.EndBatch();
    });

    EXPECT_FALSE(sender.Failed()) << sender.Received();
    EXPECT_EQ(Downloaded("TWICE.BIN"), "again");
    EXPECT_EQ(m_progress.m_completes, 1);
}

// Passes bytes between the receiver's line and a sender on another
// pseudo-terminal, as a cable does; told to, it loses the receiver's first
// 'C' as a line does when the sender starts late.
class LineRelay {
public:
    LineRelay(int receiverSide, int senderSide, bool dropFirstRequest = false)
        : m_thread([this, receiverSide, senderSide, dropFirstRequest] {
              Run(receiverSide, senderSide, dropFirstRequest);
          })
    {
    }
    ~LineRelay()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void Run(int receiverSide, int senderSide, bool dropFirstRequest)
    {
        bool dropped = !dropFirstRequest;
        while (!m_stop) {
            pollfd fds[2] = {{receiverSide, POLLIN, 0}, {senderSide, POLLIN, 0}};
            if (::poll(fds, 2, 50) <= 0)
                continue;
            char buffer[4096];
            if (fds[0].revents & POLLIN) {
                ssize_t got = ::read(receiverSide, buffer, sizeof buffer);
                std::string bytes(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
                const std::size_t request = bytes.find('C');
                if (!dropped && request != std::string::npos) {
                    bytes.erase(request, 1);
                    dropped = true;
                }
                WriteAll(senderSide, bytes);
            }
            if (fds[1].revents & POLLIN) {
                ssize_t got = ::read(senderSide, buffer, sizeof buffer);
                if (got > 0)
                    WriteAll(receiverSide, std::string(buffer, static_cast<std::size_t>(got)));
            }
        }
    }
    void WriteAll(int fd, const std::string& bytes)
    {
        for (std::size_t done = 0; done < bytes.size() && !m_stop;) {
            ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put > 0) {
                done += static_cast<std::size_t>(put);
                continue;
            }
            pollfd writable{fd, POLLOUT, 0};
            ::poll(&writable, 1, 50);
        }
    }

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST_F(YModemTest, ARealSenderThatMissesTheFirstRequestOrStartsLateStillDelivers)
{
    TempDir source;
    const std::string first = Pattern(5000, 11);
    const std::string second = Pattern(130, 12);
    WriteFileText(source.File("LATE1.000"), first);
    WriteFileText(source.File("LATE2.000"), second);
    {
        PtyPair senderLine;
        LineRelay relay(m_pty.MasterFd(), senderLine.SlaveFd(), true);
        RealSender sender(senderLine.MasterFd(),
                          {"sz", "--ymodem", "-q", source.File("LATE1.000"), source.File("LATE2.000")});
        ASSERT_TRUE(sender.Started());
        Receive();
        EXPECT_EQ(WEXITSTATUS(sender.Wait()), 0);
    }
    EXPECT_TRUE(Downloaded("LATE1.000") == first);
    EXPECT_TRUE(Downloaded("LATE2.000") == second);
    EXPECT_TRUE(m_messages.Texts().empty()) << m_messages.Texts().front();

    ::unlink(m_download.File("LATE1.000").c_str());
    ::unlink(m_download.File("LATE2.000").c_str());
    RealSender late(m_pty.MasterFd(), {"sh", "-c", "sleep 2; exec sz --ymodem -q \"$0\" \"$1\"",
                                       source.File("LATE1.000"), source.File("LATE2.000")});
    ASSERT_TRUE(late.Started());
    Receive();
    EXPECT_EQ(WEXITSTATUS(late.Wait()), 0);
    EXPECT_TRUE(Downloaded("LATE1.000") == first);
    EXPECT_TRUE(Downloaded("LATE2.000") == second);
    EXPECT_EQ(m_progress.m_completes, 2);
    EXPECT_TRUE(m_messages.Texts().empty()) << m_messages.Texts().front();
}

// A real sender on a line of its own, joined to the receiver's by a relay,
// as an instrument behind a cable.
class RelayedSenderTest : public YModemTest {
protected:
    // Runs one recovery against the sender with these arguments.
    void ReceiveFromSender(const std::vector<std::string>& arguments)
    {
        DrainReceiverLine();
        PtyPair senderLine;
        LineRelay relay(m_pty.MasterFd(), senderLine.SlaveFd());
        RealSender sender(senderLine.MasterFd(), arguments);
        ASSERT_TRUE(sender.Started());
        Receive();
    }
    // What an earlier run left on the line (its cancel and break) must not
    // reach the next sender.
    void DrainReceiverLine()
    {
        char buffer[4096];
        pollfd fd{m_pty.MasterFd(), POLLIN, 0};
        while (::poll(&fd, 1, 0) > 0 && ::read(m_pty.MasterFd(), buffer, sizeof buffer) > 0) {
        }
    }
};

TEST_F(RelayedSenderTest, ACancelledFileKeepsItsBytesAsPartUntilItArrivesWhole)
{
    TempDir source;
    const std::string content = Pattern(200000, 13);
    WriteFileText(source.File("HALF.000"), content);
    // While a file arrives its bytes so far are on disk under the partial name.
    std::vector<std::string> namesMidway;
    m_progress.m_onProgress = [&](std::int64_t received) {
        if (received < 10240 || !namesMidway.empty())
            return;
        namesMidway = DownloadNames();
        EXPECT_TRUE(Downloaded(namesMidway.front()) == content.substr(0, static_cast<std::size_t>(received)));
        m_progress.m_cancelled = namesMidway.size() == 1; // the first attempt
    };
    ReceiveFromSender({"sb", "-k", "-q", source.File("HALF.000")});
    m_progress.m_cancelled = false;
    EXPECT_EQ(namesMidway, std::vector<std::string>{"HALF.000.part"});

    const std::string kept = Downloaded("HALF.000.part");
    EXPECT_GE(kept.size(), 10240u);
    EXPECT_TRUE(kept == content.substr(0, kept.size()));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery was cancelled.\r\n"
                                                           "The incomplete file was kept as " +
                                                           m_download.File("HALF.000.part") + " (" +
                                                           std::to_string(kept.size()) + " bytes)."});
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"HALF.000.part"});

    m_messages.Clear();
    namesMidway.clear();
    ReceiveFromSender({"sb", "-k", "-q", source.File("HALF.000")});
    EXPECT_EQ(namesMidway, (std::vector<std::string>{"HALF.000.1.part", "HALF.000.part"}));
    EXPECT_TRUE(Downloaded("HALF.000") == content);
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"HALF.000"});
    EXPECT_TRUE(m_messages.Texts().empty());
}

// Control characters in a header name become '_' in the window, the message
// and the file; a whole file whose name a folder holds stays as NAME.part.
TEST_F(RelayedSenderTest, ANameIsShownAsStoredAndAWholeFileKeptWhenItsNameIsTaken)
{
    TempDir source;
    const std::string content = Pattern(1025, 14);
    WriteFileText(source.File("AB\rCD.000"), content);
    ASSERT_EQ(::mkdir(m_download.File("AB_CD.000").c_str(), 0755), 0);
    ReceiveFromSender({"sb", "-q", source.File("AB\rCD.000")});

    EXPECT_EQ(m_progress.m_started, std::vector<std::string>{"AB_CD.000"});
    EXPECT_TRUE(Downloaded("AB_CD.000.part") == content);
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"AB_CD.000 arrived whole (1025 bytes) but cannot take its name: Is a directory.\r\n"
                                       "It was kept as " + m_download.File("AB_CD.000.part") + "."});

    ASSERT_EQ(::rmdir(m_download.File("AB_CD.000").c_str()), 0);
    m_messages.Clear();
    ReceiveFromSender({"sb", "-q", source.File("AB\rCD.000")});
    ASSERT_EQ(m_progress.m_done.size(), 1u);
    EXPECT_EQ(m_progress.m_done[0].first, "AB_CD.000");
    EXPECT_TRUE(Downloaded("AB_CD.000") == content);
    EXPECT_EQ(DownloadNames(), std::vector<std::string>{"AB_CD.000"});
    EXPECT_TRUE(m_messages.Texts().empty());
}

// A shorter later attempt never replaces the longer part an earlier one left;
// the whole file removes both, but not a partial of the same name whose
// bytes are not its own (another deployment's).
TEST_F(YModemTest, APartialNeverReplacesALongerOneAndTheWholeFileRemovesOnlyItsOwn)
{
    const std::string content = Pattern(4096, 15);
    CancelledBySenderAfter(2, "RULE.BIN", content);
    m_messages.Clear();
    CancelledBySenderAfter(1, "RULE.BIN", content);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery of RULE.BIN failed.\r\n"
                                                           "The instrument cancelled the transfer.\r\n"
                                                           "The incomplete file was kept as " +
                                                           m_download.File("RULE.BIN.1.part") + " (1024 bytes)."});
    EXPECT_TRUE(Downloaded("RULE.BIN.part") == content.substr(0, 2048));
    EXPECT_TRUE(Downloaded("RULE.BIN.1.part") == content.substr(0, 1024));
    WriteFileText(m_download.File("RULE.BIN.2.part"), Pattern(1024, 99));

    YModemScript sender(m_pty.MasterFd());
    ReceiveScripted(sender, [&](YModemScript& s) {
        s.SendFile("RULE.BIN", content, true);
        s.EndBatch();
    });
    EXPECT_TRUE(Downloaded("RULE.BIN") == content);
    EXPECT_EQ(DownloadNames(), (std::vector<std::string>{"RULE.BIN", "RULE.BIN.2.part"}));
}

TEST_F(YModemTest, APartialNeverWritesThroughALinkAtItsName)
{
    TempDir elsewhere;
    WriteFileText(elsewhere.File("target"), "precious");
    ASSERT_EQ(::symlink(elsewhere.File("target").c_str(), m_download.File("LINK.BIN.part").c_str()), 0);
    const std::string content = Pattern(2048, 16);
    CancelledBySenderAfter(1, "LINK.BIN", content);

    EXPECT_EQ(ReadFileText(elsewhere.File("target")), "precious");
    EXPECT_TRUE(Downloaded("LINK.BIN.1.part") == content.substr(0, 1024));
    struct stat info {};
    ASSERT_EQ(::lstat(m_download.File("LINK.BIN.part").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(YModemTest, AFailedRecoverySaysWhyAndShortensALongName)
{
    const std::string longName = std::string(150, 'a') + std::string(150, 'z');
    struct Case {
        std::function<void(YModemScript&)> trouble;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](YModemScript& s) {
             s.OpenFile("NOISY.BIN", "100");
             // The abort may purge the tenth NAK before it leaves.
             for (int attempt = 1; attempt <= 10; ++attempt) {
                 s.Write(YModemScript::Block(1, "x", false, true));
                 if (attempt < 10)
                     s.Expect(0x15);
             }
         },
         "The recovery of NOISY.BIN failed.\r\nToo many errors on one block."},
        // Silence in the middle of a block, and after the first byte of each new one.
        {[](YModemScript& s) {
             s.OpenFile("MUTE.BIN", "2048");
             s.Write(YModemScript::Block(1, Pattern(1024, 17), true).substr(0, 500));
             for (int attempt = 2; attempt <= 10; ++attempt) {
                 s.Expect(0x15);
                 s.Write("\x02");
             }
         },
         "The recovery of MUTE.BIN failed.\r\nNo answer came in time."},
        {[](YModemScript& s) {
             s.OpenFile("ODD.BIN", "100");
             s.Write("X");
         },
         "The recovery of ODD.BIN failed.\r\nThe instrument sent something that is not a block."},
        {[&](YModemScript& s) {
             s.Expect('C');
             s.Write(YModemScript::Block(0, longName + std::string(1, '\0') + "5", true));
         },
         "The file header holds no valid file name: " + std::string(24, 'a') + "..." + std::string(24, 'z')},
    };
    for (const Case& trouble : cases) {
        m_messages.Clear();
        YModemScript sender(m_pty.MasterFd());
        ReceiveScripted(
            sender,
            [&](YModemScript& s) {
                trouble.trouble(s);
                s.ExpectText("======", YModemScript::Milliseconds(15000));
            },
            -1, true);
        EXPECT_FALSE(sender.Failed()) << ::testing::PrintToString(sender.Received());
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{trouble.message});
        EXPECT_TRUE(DownloadNames().empty());
    }
}

// A download folder that goes during the transfer: no kept file is named.
TEST_F(YModemTest, BytesThatCannotBeKeptAreReportedWithWhy)
{
    const std::string content = Pattern(2048, 18);
    m_progress.m_onProgress = [&](std::int64_t) {
        if (::unlink(m_download.File("GONE.BIN.part").c_str()) == 0)
            ::rmdir(m_download.Path().c_str());
    };
    SendBlocksThenEnd(2, "GONE.BIN", content, "\x04");

    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery of GONE.BIN failed.\r\n"
                                                           "The received bytes could not be kept: " +
                                                           m_download.Path() +
                                                           " was moved or removed during the transfer."});
}

TEST_F(YModemTest, AFailedWriteSaysTheSystemsReason)
{
    const std::string content = Pattern(3072, 19);
    const FileSizeLimit limit(2048);
    SendBlocksThenEnd(2, "FULL.BIN", content, YModemScript::Block(3, content.substr(2048), true));

    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Problems with writing to file " +
                                                           m_download.File("FULL.BIN") + ": File too large.\r\n"
                                                           "The incomplete file was kept as " +
                                                           m_download.File("FULL.BIN.part") + " (2048 bytes)."});
    EXPECT_TRUE(Downloaded("FULL.BIN.part") == content.substr(0, 2048));
}

// A disk that cannot confirm a whole file's bytes: they stay under the
// partial name and no earlier partial goes; one that cannot confirm its new
// name is reported too. Neither batch is complete.
TEST_F(YModemTest, BytesOrANameTheDiskCannotConfirmAreAFailedWrite)
{
    const std::string content = Pattern(2048, 20);
    for (const bool fileSyncFails : {true, false}) {
        FailingMount mount({.fileSyncs = fileSyncFails, .folderSyncs = !fileSyncFails});
        ASSERT_MOUNTED(mount);
        WriteFileText(mount.BackingFile("SYNC.BIN.1.part"), content.substr(0, 1024));
        m_folder = mount.File("");
        m_messages.Clear();
        SendBlocksThenEnd(2, "SYNC.BIN", content, "\x04");

        EXPECT_EQ(m_progress.m_completes, 0);
        const std::string stored = fileSyncFails ? "SYNC.BIN.part" : "SYNC.BIN";
        EXPECT_TRUE(ReadFileText(mount.BackingFile(stored)) == content);
        if (fileSyncFails) {
            EXPECT_EQ(NamesIn(mount.BackingFile("")), (std::vector<std::string>{"SYNC.BIN.1.part", "SYNC.BIN.part"}));
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The recovery of SYNC.BIN failed.\r\n"
                                                                   "Problems with writing to file " +
                                                                   mount.File(stored) + ": Input/output error."});
        } else {
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Problems with writing to file " +
                                                                   mount.File(stored) + ": Input/output error.\r\n"
                                                                   "The file has its name, but a power cut may "
                                                                   "still undo that."});
        }
    }
}

} // namespace
