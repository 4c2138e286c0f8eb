#include "CQuitSignals.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <unistd.h>

namespace {
// The event the handler sets; -1 while no one listens.
std::atomic<int> g_eventFd{-1};
} // namespace

CQuitSignals::CQuitSignals(std::function<void()> quit)
    : m_notifier(m_event.Fd(), QSocketNotifier::Read), m_quit(std::move(quit))
{
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { OnEvent(); });
    g_eventFd = m_event.Fd();
    struct sigaction action {};
    action.sa_handler = &CQuitSignals::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &m_previous[i]);
}

CQuitSignals::~CQuitSignals()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &m_previous[i], nullptr);
    g_eventFd = -1;
}

void CQuitSignals::OnSignal(int)
{
    // Only async-signal-safe calls here: one write to the event.
    const int savedErrno = errno;
    const int fd = g_eventFd.load();
    if (fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(fd, &one, sizeof one);
    }
    errno = savedErrno;
}

void CQuitSignals::OnEvent()
{
    m_event.Reset();
    // The terminal that started the program may be gone: a message written
    // to it on the way out must not end the program before its settings are saved.
    std::signal(SIGPIPE, SIG_IGN);
    m_quit();
}
