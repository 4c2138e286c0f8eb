#pragma once
#include "RunningProgram.h"
#include "StreamEnds.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <memory>

// An X server of the test's own (Xvfb) on a display number it chooses, ended
// with the object; Display() is empty when Xvfb is not installed.
class VirtualXServer {
public:
    VirtualXServer()
    {
        int number[2] = {-1, -1};
        if (::access("/usr/bin/Xvfb", X_OK) != 0 || ::pipe2(number, O_CLOEXEC) != 0)
            return;
        // Xvfb writes "N\n" to descriptor 100 and closes it.
        m_server = std::make_unique<RunningProgram>("/usr/bin/Xvfb", std::vector<std::string>{"-displayfd", "100"},
                                                    "/nonexistent", ProgramStreams{.passedDescriptors = {number[1]}});
        ::close(number[1]);
        std::string text;
        if (ReadUntilClosed(number[0], text, std::chrono::steady_clock::now() + std::chrono::seconds(60)) && text.size() > 1)
            m_display = ":" + text.substr(0, text.size() - 1);
        ::close(number[0]);
    }
    const std::string& Display() const { return m_display; }
    // The server ends under its clients, as a logout that ends it first does.
    void End() { m_server->Signal(SIGTERM); }

private:
    std::unique_ptr<RunningProgram> m_server;
    std::string m_display;
};
