#include "WakeEvent.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

WakeEvent::WakeEvent() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeEvent::~WakeEvent()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void WakeEvent::Set()
{
    std::uint64_t one = 1;
    // A full counter is still a set event, so a failed write changes nothing.
    [[maybe_unused]] ssize_t ignored = ::write(m_fd, &one, sizeof one);
}

void WakeEvent::Reset()
{
    std::uint64_t value;
    [[maybe_unused]] ssize_t ignored = ::read(m_fd, &value, sizeof value);
}

bool WakeEvent::IsSet() const
{
    pollfd entry{m_fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN);
}

} // namespace platform
