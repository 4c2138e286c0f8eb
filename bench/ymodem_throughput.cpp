// Drives one YModem transfer for bench/ymodem_bench.sh: lrzsz's sb sends
// FILE into the master end of a pseudo-terminal pair, and the receiver on the
// slave end is either the terminal's own or lrzsz's rb.
//   ymodem_throughput ours FILE DIRECTORY   seconds until our receiver is done
//   ymodem_throughput rb FILE DIRECTORY     seconds until rb is done
// The received file lands in DIRECTORY; the exit status is 0 when the
// receiver ended normally (the script compares the file).
#include "CLineHold.h"
#include "CSerialPort.h"
#include "CSerialYModemPort.h"
#include "CYModem.h"
#include "PtyPair.h"
#include "RealSender.h"
#include "TempSettings.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kPort = 1;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool ReceiveWithOurs(PtyPair& pty, const std::string& directory)
{
    TempSettings settings;
    pty.MapTo(kPort);
    CSerialPort port;
    port.SetParams(nullptr, kPort, 115200, 'N', 1, 8, 4096, 128);
    if (port.Open() != S_OK)
        return false;
    CLineHold hold(port);
    CSerialYModemPort line(port, hold);
    CYModem receiver(&line, directory);
    receiver.Receive();
    port.Close();
    return true;
}

// rb on the slave end, at the rate our receiver sets, as it takes its
// timing from the line's rate.
bool ReceiveWithRb(const PtyPair& pty, const std::string& directory)
{
    const int slave = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (slave < 0 || ::tcgetattr(slave, &line) != 0)
        return false;
    ::cfsetspeed(&line, B115200);
    ::tcsetattr(slave, TCSANOW, &line);
    ::close(slave);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, pty.SlavePath().c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_adddup2(&actions, 0, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    char rb[] = "rb";
    char quiet[] = "-q";
    char* argv[] = {rb, quiet, nullptr};
    pid_t child = 0;
    const bool started = posix_spawnp(&child, "rb", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argv[1];
    const std::string file = argv[2];
    const std::string directory = argv[3];
    if (mode != "ours" && mode != "rb")
        return 2;
    PtyPair pty;
    const auto start = Clock::now();
    RealSender sender(pty.MasterFd(), {"sb", "-k", "-q", file});
    if (!sender.Started())
        return 1;
    const bool received = mode == "ours" ? ReceiveWithOurs(pty, directory) : ReceiveWithRb(pty, directory);
    std::printf("%.3f\n", Seconds(start));
    // The sender waits for its last bytes to be read, which no one does now.
    sender.Kill();
    return received ? 0 : 1;
}
