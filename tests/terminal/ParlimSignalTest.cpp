#include "CPortSettings.h"
#include "Messages.h"
#include "PtyPair.h"
#include "RealSender.h"
#include "RunningProgram.h"
#include "Settings.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace parlim;
using namespace std::chrono_literals;

constexpr int kPort = 3;
constexpr auto kGenerous = 60s;
constexpr std::uintmax_t kArrivedBeforeSignal = 100000;

std::string Pattern(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 13 + i / 251) & 0xFF);
    return text;
}

// The real program with COM3, a pseudo-terminal, connected at start; its
// played user types the recorder's download command and names the folder,
// and lrzsz's sender answers as the instrument.
class ParlimSignals : public ::testing::Test {
protected:
    ParlimSignals()
    {
        platform::SetProgramName("Parlim");
        m_pty.MapTo(kPort);
        PortTable table;
        for (int i = 0; i < kPortSlotCount; ++i)
            table[i] = CPortSettings::Defaults(i);
        table[0].m_nPort = kPort - 1;
        table[0].m_bConnectOnStartup = 1;
        platform::WriteProfileBinary(kSectionPortSettings, kValueConfig, SerialisePortTable(table));
        platform::WriteProfileString(kSectionSettings, kValueOrder, "COM03 ");
        WriteFileText(m_source.File("BIG.000"), m_content);
    }

    std::unique_ptr<RunningProgram> StartParlim() const
    {
        RunContext context;
        context.environment = {"QT_QPA_PLATFORM=offscreen",
                               "XDG_RUNTIME_DIR=" + m_runtime.Path(),
                               "XDG_DATA_HOME=" + m_data.Path(),
                               "QT_PLUGIN_PATH=" QSV_BINARY_DIR "/tests/plugins",
                               "QT_QPA_GENERIC_PLUGINS=playeduser",
                               "QSV_PLAYED_KEYS=RY\r",
                               "QSV_PLAYED_DIRECTORY=" + m_download.Path()};
        return std::make_unique<RunningProgram>(QSV_BINARY_DIR "/terminal/parlim", std::vector<std::string>{},
                                                m_settings.Path(), ProgramStreams{}, "C.UTF-8", context);
    }

    // Reads the line until the typed command has come whole.
    bool AwaitTyped(const std::string& command) const
    {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + kGenerous;
        while (line.find(command) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd readable{m_pty.MasterFd(), POLLIN, 0};
            if (::poll(&readable, 1, 20) <= 0)
                continue;
            char buffer[256];
            const ssize_t got = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
            if (got > 0)
                line.append(buffer, static_cast<std::size_t>(got));
        }
        return line.find(command) != std::string::npos;
    }

    // Waits until a file in the download folder (whatever its name while it
    // arrives) holds that many bytes.
    bool AwaitArrived(std::uintmax_t bytes) const
    {
        const auto deadline = std::chrono::steady_clock::now() + kGenerous;
        while (std::chrono::steady_clock::now() < deadline) {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(m_download.Path(), error)) {
                if (entry.is_regular_file(error) && entry.file_size(error) >= bytes)
                    return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    std::vector<std::string> Downloaded() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_download.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempSettings m_settings;
    TempDir m_runtime;
    TempDir m_data;
    TempDir m_source;
    TempDir m_download;
    PtyPair m_pty;
    const std::string m_content = Pattern(8 * 1024 * 1024);
};

} // namespace

// Logging out, closing the terminal that started it or `kill` during a
// transfer: the instrument is told to stop, the bytes keep a visible name and
// the settings are written, as File > Exit does; a second signal changes nothing.
TEST_F(ParlimSignals, EndTheProgramDuringATransferAsExitDoes)
{
    const std::vector<std::vector<int>> cases = {{SIGTERM}, {SIGHUP}, {SIGINT, SIGTERM}};
    for (const std::vector<int>& signals : cases) {
        SCOPED_TRACE(signals.front());
        for (const auto& entry : std::filesystem::directory_iterator(m_download.Path()))
            std::filesystem::remove(entry.path());
        platform::RemoveProfileValue(kSectionSettings, kValuePromptWait);
        const std::unique_ptr<RunningProgram> parlim = StartParlim();
        ASSERT_TRUE(parlim->Started());
        ASSERT_TRUE(AwaitTyped("RY\r"));
        RealSender sender(m_pty.MasterFd(), {"sz", "--ymodem", "-q", m_source.File("BIG.000")});
        ASSERT_TRUE(sender.Started());
        ASSERT_TRUE(AwaitArrived(kArrivedBeforeSignal));
        for (int signal : signals)
            parlim->Signal(signal);

        const ProgramResult result = parlim->Finish(static_cast<int>(kGenerous.count()));
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        // The sender gave up at once on CAN CAN; left alone it would wait for minutes.
        const int status = sender.Wait(kGenerous);
        EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
        ASSERT_EQ(Downloaded(), std::vector<std::string>{"BIG.000.part"});
        const std::string kept = ReadFileText(m_download.File("BIG.000.part"));
        EXPECT_GE(kept.size(), kArrivedBeforeSignal);
        EXPECT_TRUE(kept == m_content.substr(0, kept.size()));
        platform::SyncProfile();
        EXPECT_EQ(platform::GetProfileInt(kSectionSettings, kValuePromptWait, -1), 0);
        EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueOrder), "COM03 ");
    }
}
