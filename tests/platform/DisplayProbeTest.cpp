// Whether a display opens is told by its socket alone: a listener there is a
// display, none is no display, and offscreen chosen first is never one.
#include "DisplayProbe.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// A listening local socket at `path` (abstract: in no file system), closed at the end.
class Listener {
public:
    Listener(const std::string& path, bool abstract) : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(address.sun_path + offset, path.data(), path.size());
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        m_bListening = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && ::listen(m_fd, 16) == 0;
    }
    ~Listener() { ::close(m_fd); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    bool Listening() const { return m_bListening; }

private:
    int m_fd;
    bool m_bListening = false;
};

// The display variables as the test sets them, the process's own restored at the end.
class DisplayEnvironment : public ::testing::Test {
protected:
    DisplayEnvironment()
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        ::setenv("XDG_RUNTIME_DIR", m_runtime.Path().c_str(), 1);
    }
    ~DisplayEnvironment() override
    {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if (m_saved[i])
                ::setenv(kNames[i], m_saved[i]->c_str(), 1);
            else
                ::unsetenv(kNames[i]);
        }
    }

    static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE",
                                             "XDG_RUNTIME_DIR"};
    TempDir m_runtime;
    std::vector<std::optional<std::string>> m_saved;
};

// An X display number nobody serves, in the abstract namespace as in /tmp.
std::string FreeXDisplayNumber()
{
    for (int number = 311;; ++number) {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        if (::access(path.c_str(), F_OK) != 0 && Listener(path, true).Listening())
            return std::to_string(number);
    }
}

} // namespace

TEST_F(DisplayEnvironment, AnXDisplayIsItsListeningSocket)
{
    EXPECT_FALSE(platform::DisplayCanBeOpened());
    const std::string number = FreeXDisplayNumber();
    ::setenv("DISPLAY", (":" + number + ".0").c_str(), 1);
    EXPECT_FALSE(platform::DisplayCanBeOpened());
    const Listener server("/tmp/.X11-unix/X" + number, true);
    ASSERT_TRUE(server.Listening());
    EXPECT_TRUE(platform::DisplayCanBeOpened());
    ::setenv("DISPLAY", ("unix:" + number).c_str(), 1);
    EXPECT_TRUE(platform::DisplayCanBeOpened());
    ::setenv("QT_QPA_PLATFORM", "offscreen;xcb", 1);
    EXPECT_FALSE(platform::DisplayCanBeOpened());
    ::setenv("QT_QPA_PLATFORM", "xcb:nograb;offscreen", 1);
    EXPECT_TRUE(platform::DisplayCanBeOpened());
}

TEST_F(DisplayEnvironment, AWaylandDisplayCountsInAWaylandSessionOrWhenChosen)
{
    ::setenv("WAYLAND_DISPLAY", "compositor", 1);
    const Listener compositor(m_runtime.File("compositor"), false);
    ASSERT_TRUE(compositor.Listening());
    EXPECT_FALSE(platform::DisplayCanBeOpened());
    ::setenv("XDG_SESSION_TYPE", "wayland", 1);
    EXPECT_TRUE(platform::DisplayCanBeOpened());
    ::setenv("WAYLAND_DISPLAY", "gone", 1);
    EXPECT_FALSE(platform::DisplayCanBeOpened());
    ::setenv("QT_QPA_PLATFORM", "wayland-egl", 1);
    ::setenv("WAYLAND_DISPLAY", m_runtime.File("compositor").c_str(), 1);
    EXPECT_TRUE(platform::DisplayCanBeOpened());
    // A platform without a socket to try is the toolkit's to judge.
    ::setenv("QT_QPA_PLATFORM", "eglfs", 1);
    EXPECT_TRUE(platform::DisplayCanBeOpened());
}
