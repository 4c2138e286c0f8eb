#include "InProcessTerminal.h"
#include "RealSender.h"
#include "RunningProgram.h"
#include "VirtualXServer.h"

#include <csignal>
#include <filesystem>
#include <future>
#include <sys/wait.h>

using namespace std::chrono_literals;

// The real program during a transfer from lrzsz's sender, ended from outside.
class ParlimEndings : public InProcessTerminal {
protected:
    static constexpr std::uintmax_t kArrivedBeforeEnd = 100000;

    ParlimEndings() : m_content(8 * 1024 * 1024, '\0')
    {
        SaveStartupSlots({{kPort, 0}});
        for (std::size_t i = 0; i < m_content.size(); ++i)
            m_content[i] = static_cast<char>(i * 13 + i / 251);
        WriteFileText(m_big, m_content);
    }

    // Starts the program on that display; the played user types RY and names
    // a new download folder. Returns once part of the file has arrived.
    std::unique_ptr<RunningProgram> StartTransfer(std::vector<std::string> environment)
    {
        m_download = std::make_unique<TempDir>();
        platform::RemoveProfileValue(kSectionSettings, kValuePromptWait);
        const auto senderEnded = std::make_shared<std::promise<int>>();
        m_senderStatus = senderEnded->get_future();
        const auto sendBig = [senderEnded, big = m_big](int fd) {
            RealSender sender(fd, {"sz", "--ymodem", "-q", big});
            senderEnded->set_value(sender.Started() ? sender.Wait(60s) : -1);
            return std::string();
        };
        m_instrument.AnswerLines([sendBig](const std::string& line) {
            return line == "RY" ? std::optional<InstrumentSimulator::LineAnswer>({{}, sendBig}) : std::nullopt;
        });
        RunContext context;
        context.environment = std::move(environment);
        context.environment.insert(context.environment.end(),
                                   {"QT_PLUGIN_PATH=" QSV_BINARY_DIR "/tests/plugins", "QT_QPA_GENERIC_PLUGINS=playeduser",
                                    "QSV_PLAYED_KEYS=RY\r", "QSV_PLAYED_DIRECTORY=" + m_download->Path()});
        auto parlim = std::make_unique<RunningProgram>(QSV_BINARY_DIR "/terminal/parlim", std::vector<std::string>{},
                                                       m_settings.Path(), ProgramStreams{}, "C.UTF-8", context);
        PumpUntil([&] { return ReadFileText(PartialFile()).size() >= kArrivedBeforeEnd; }, kGenerous);
        return parlim;
    }

    // The sender gave up at once on CAN CAN (left alone it would wait for
    // minutes), the bytes kept a visible name and the settings were written.
    void ExpectEndedAsExit()
    {
        ASSERT_EQ(m_senderStatus.wait_for(kGenerous), std::future_status::ready);
        const int status = m_senderStatus.get();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_download->Path()), {}), 1);
        const std::string kept = ReadFileText(PartialFile());
        EXPECT_GE(kept.size(), kArrivedBeforeEnd);
        EXPECT_TRUE(kept == m_content.substr(0, kept.size()));
        platform::SyncProfile();
        EXPECT_EQ(platform::GetProfileInt(kSectionSettings, kValuePromptWait, -1), 0);
        EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueOrder), "COM03 ");
    }

    std::string PartialFile() const { return m_download->File("BIG.000.part"); }

private:
    TempDir m_source;
    const std::string m_big = m_source.File("BIG.000");
    std::string m_content;
    std::unique_ptr<TempDir> m_download;
    std::future<int> m_senderStatus;
};

// Logging out, closing the terminal that started it or `kill`: the program
// ends as File > Exit ends it; a second signal changes nothing.
TEST_F(ParlimEndings, SignalsEndTheProgramDuringATransferAsExitDoes)
{
    for (const std::vector<int>& endings : std::vector<std::vector<int>>{{SIGTERM}, {SIGHUP}, {SIGINT, SIGTERM}}) {
        SCOPED_TRACE(endings.front());
        const std::unique_ptr<RunningProgram> parlim = StartTransfer({"QT_QPA_PLATFORM=offscreen"});
        for (int signal : endings)
            parlim->Signal(signal);
        const ProgramResult result = parlim->Finish();
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        ExpectEndedAsExit();
    }
}

// The X server ends first (a logout, a dropped remote session): the toolkit
// ends the process, but not before the line and the settings are seen to.
TEST_F(ParlimEndings, ALostDisplayEndsTheProgramDuringATransferAsExitDoes)
{
    VirtualXServer server;
    if (!server.Started())
        GTEST_SKIP() << "no X server to lose: Xvfb is not installed";
    const std::unique_ptr<RunningProgram> parlim = StartTransfer({"DISPLAY=" + server.Display()});
    server.End();
    const ProgramResult result = parlim->Finish();
    EXPECT_TRUE(result.finished && result.signal == 0) << result.errors;
    ExpectEndedAsExit();
}
