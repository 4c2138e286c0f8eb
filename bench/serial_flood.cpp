// Drives the terminal's serial line for bench/serial_bench.sh.
//   serial_flood flood BYTES LOGFILE   seconds until BYTES sent into a
//                                      pseudo-terminal are in the terminal's log
//   serial_flood cat BYTES OUTFILE     the same flood read by cat into a file
//   serial_flood idle SECONDS          processor share of an open, idle port
#include "CLogWnd.h"
#include "CSerialPort.h"
#include "MessagePump.h"
#include "PtyPair.h"
#include "TempSettings.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kPort = 1;
using Clock = std::chrono::steady_clock;

std::uint64_t FileSize(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

// Writes the bytes into the master side as fast as the pair takes them.
std::thread StartFlood(int master, std::uint64_t bytes)
{
    return std::thread([master, bytes] {
        int flags = ::fcntl(master, F_GETFL);
        ::fcntl(master, F_SETFL, flags & ~O_NONBLOCK);
        std::vector<char> block(65536);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 7 % 251);
        for (std::uint64_t sent = 0; sent < bytes;) {
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), bytes - sent));
            ssize_t put = ::write(master, block.data(), n);
            if (put <= 0)
                return;
            sent += static_cast<std::uint64_t>(put);
        }
    });
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int Flood(std::uint64_t bytes, const std::string& logPath)
{
    TempSettings settings;
    PtyPair pty;
    pty.MapTo(kPort);
    int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (log < 0)
        return 1;
    CLogWnd window(QString(), 80, 2000, true);
    window.m_hLogFile = log;
    CSerialPort port;
    port.SetParams(&window, kPort, 115200, 'N', 1, 8, 4096, 128);
    if (port.Open() != S_OK)
        return 1;
    auto start = Clock::now();
    std::thread writer = StartFlood(pty.MasterFd(), bytes);
    while (FileSize(logPath) < bytes && port.IsOpen())
        platform::PumpMessages();
    double seconds = Seconds(start);
    writer.join();
    ::close(log);
    std::printf("%.3f\n", seconds);
    return FileSize(logPath) == bytes ? 0 : 1;
}

int Cat(std::uint64_t bytes, const std::string& outPath)
{
    PtyPair pty;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string slave = pty.SlavePath();
    char catName[] = "cat";
    char* argv[] = {catName, slave.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "cat", &actions, nullptr, argv, environ) != 0)
        return 1;
    posix_spawn_file_actions_destroy(&actions);
    auto start = Clock::now();
    std::thread writer = StartFlood(pty.MasterFd(), bytes);
    while (FileSize(outPath) < bytes)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    double seconds = Seconds(start);
    writer.join();
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    std::printf("%.3f\n", seconds);
    return 0;
}

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

int Idle(int seconds)
{
    TempSettings settings;
    PtyPair pty;
    pty.MapTo(kPort);
    CLogWnd window(QString(), 80, 2000, true);
    window.show();
    CSerialPort port;
    port.SetParams(&window, kPort, 9600, 'N', 1, 8, 4096, 128);
    if (port.Open() != S_OK)
        return 1;
    double cpuBefore = CpuSeconds();
    auto start = Clock::now();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    double share = (CpuSeconds() - cpuBefore) / Seconds(start);
    std::printf("%.3f\n", share * 100.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string mode = argv[1];
    if (mode == "flood" && argc == 4)
        return Flood(std::strtoull(argv[2], nullptr, 10), argv[3]);
    if (mode == "cat" && argc == 4)
        return Cat(std::strtoull(argv[2], nullptr, 10), argv[3]);
    if (mode == "idle")
        return Idle(std::atoi(argv[2]));
    return 2;
}
