#include "InProcessTerminal.h"
#include "RealSender.h"
#include "RunningProgram.h"
#include "VirtualXServer.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <future>
#include <sys/wait.h>

using namespace std::chrono_literals;

using ParlimEndings = InProcessTerminal;

// Logging out, closing the terminal that started it, `kill` or losing the X
// server during a transfer: the instrument is told to stop, the bytes keep a
// visible name and the settings are written, as File > Exit does; a second
// signal changes nothing.
TEST_F(ParlimEndings, EndTheProgramDuringATransferAsExitDoes)
{
    constexpr std::uintmax_t kArrivedBeforeSignal = 100000;
    SaveStartupSlots({{kPort, 0}});
    TempDir source;
    const std::string big = source.File("BIG.000");
    std::string content(8 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 13 + i / 251);
    WriteFileText(big, content);

    // No signal: the X server goes first, and the toolkit then ends the program with status 1.
    VirtualXServer server;
    std::vector<std::vector<int>> cases{{SIGTERM}, {SIGHUP}, {SIGINT, SIGTERM}};
    if (!server.Display().empty())
        cases.push_back({});
    for (const std::vector<int>& endings : cases) {
        const bool displayLost = endings.empty();
        SCOPED_TRACE(displayLost ? "lost display" : strsignal(endings.front()));
        TempDir download;
        platform::RemoveProfileValue(kSectionSettings, kValuePromptWait);
        // The played user types RY and names the folder; lrzsz's sender answers.
        const auto senderEnded = std::make_shared<std::promise<int>>();
        const auto sendBig = [senderEnded, big](int fd) {
            RealSender sender(fd, {"sz", "--ymodem", "-q", big});
            senderEnded->set_value(sender.Started() ? sender.Wait(60s) : -1);
            return std::string();
        };
        m_instrument.AnswerLines([sendBig](const std::string& line) {
            return line == "RY" ? std::optional<InstrumentSimulator::LineAnswer>({{}, sendBig}) : std::nullopt;
        });
        RunContext context;
        context.environment = {displayLost ? "DISPLAY=" + server.Display() : "QT_QPA_PLATFORM=offscreen", "QT_PLUGIN_PATH=" QSV_BINARY_DIR "/tests/plugins",
                               "QT_QPA_GENERIC_PLUGINS=playeduser", "QSV_PLAYED_KEYS=RY\r",
                               "QSV_PLAYED_DIRECTORY=" + download.Path()};
        RunningProgram parlim(QSV_BINARY_DIR "/terminal/parlim", {}, m_settings.Path(), {}, "C.UTF-8", context);
        const std::string part = download.File("BIG.000.part");
        PumpUntil([&] { return ReadFileText(part).size() >= kArrivedBeforeSignal; }, kGenerous);
        for (int signal : endings)
            parlim.Signal(signal);
        if (displayLost)
            server.End();

        const ProgramResult result = parlim.Finish();
        EXPECT_EQ(result.exitCode, displayLost ? 1 : 0) << result.errors;
        // The sender gave up at once on CAN CAN; left alone it would wait for minutes.
        std::future<int> senderStatus = senderEnded->get_future();
        ASSERT_EQ(senderStatus.wait_for(kGenerous), std::future_status::ready);
        const int status = senderStatus.get();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(download.Path()), {}), 1);
        const std::string kept = ReadFileText(part);
        EXPECT_GE(kept.size(), kArrivedBeforeSignal);
        EXPECT_TRUE(kept == content.substr(0, kept.size()));
        platform::SyncProfile();
        EXPECT_EQ(platform::GetProfileInt(kSectionSettings, kValuePromptWait, -1), 0);
        EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueOrder), "COM03 ");
    }
    if (server.Display().empty())
        GTEST_SKIP() << "Xvfb is not installed: the lost display was not tried";
}
