#include "PtyPair.h"

#include "PortCatalog.h"

#include <filesystem>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

PtyPair::PtyPair()
{
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    m_slavePath = name;
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
}

PtyPair::~PtyPair()
{
    CloseMaster();
    ::close(m_slave);
}

void PtyPair::MapTo(int comPort) const
{
    platform::PortCatalog::SetMapping(comPort, m_slavePath);
}

termios PtyPair::SlaveTermios() const
{
    termios tio{};
    if (::tcgetattr(m_master, &tio) != 0)
        throw std::runtime_error("tcgetattr failed");
    return tio;
}

void PtyPair::CloseMaster()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

int PtyPair::SlaveDescriptors() const
{
    // An unplugged slave's node is gone: its links read "<path> (deleted)".
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
        if (target == m_slavePath || target == m_slavePath + " (deleted)")
            ++count;
    }
    return count;
}
