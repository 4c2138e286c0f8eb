#include "DisplayProbe.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {
// A display across a network that does not answer in this time is none.
constexpr int kConnectMilliseconds = 5000;
constexpr int kFirstXPort = 6000;

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The platform names to try, each without its ":options".
std::vector<std::string> PlatformNames()
{
    std::string chosen = Variable("QT_QPA_PLATFORM");
    if (chosen.empty())
        chosen = Variable("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= chosen.size()) {
        std::size_t end = chosen.find(';', start);
        if (end == std::string::npos)
            end = chosen.size();
        const std::string entry = chosen.substr(start, end - start);
        names.push_back(entry.substr(0, entry.find(':')));
        start = end + 1;
    }
    return names;
}

bool Connects(int family, const sockaddr* address, socklen_t length)
{
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, address, length) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd entry{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        connected = ::poll(&entry, 1, kConnectMilliseconds) == 1
            && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    ::close(fd);
    return connected;
}

// `abstract`: the name lies in the abstract namespace, not in the file system.
bool UnixSocketConnects(const std::string& path, bool abstract)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.empty() || path.size() + offset >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    return Connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&address),
                    static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size()));
}

bool TcpConnects(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool connected = false;
    for (const addrinfo* each = found; each && !connected; each = each->ai_next)
        connected = Connects(each->ai_family, each->ai_addr, each->ai_addrlen);
    ::freeaddrinfo(found);
    return connected;
}

// DISPLAY is [protocol/][host]:number[.screen]; no host, or "unix", is the
// local socket (abstract or in /tmp/.X11-unix).
bool XDisplayOpens()
{
    const std::string display = Variable("DISPLAY");
    const std::size_t colon = display.rfind(':');
    if (colon == std::string::npos)
        return false;
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 4 || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    std::string host = display.substr(0, colon);
    host.erase(0, host.find('/') == std::string::npos ? 0 : host.find('/') + 1);
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + number;
        return UnixSocketConnects(path, false) || UnixSocketConnects(path, true);
    }
    return TcpConnects(host, kFirstXPort + std::atoi(number.c_str()));
}

bool WaylandDisplayOpens()
{
    std::string socket = Variable("WAYLAND_DISPLAY");
    if (socket.empty())
        socket = "wayland-0";
    if (socket.front() != '/') {
        const std::string runtime = Variable("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        socket = runtime + "/" + socket;
    }
    return UnixSocketConnects(socket, false);
}
} // namespace

bool DisplayCanBeOpened()
{
    for (const std::string& name : PlatformNames()) {
        if (name == "offscreen")
            return false;
        if (name == "xcb") {
            if (XDisplayOpens())
                return true;
        } else if (name.rfind("wayland", 0) == 0) {
            if (WaylandDisplayOpens())
                return true;
        } else if (!name.empty()) {
            return true;
        }
    }
    return false;
}

} // namespace platform
