#include "VirtualXServer.h"

#include "StreamEnds.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace {
const std::string kXvfb = "/usr/bin/Xvfb";
constexpr std::chrono::seconds kStartLimit(60);
} // namespace

VirtualXServer::VirtualXServer()
{
    int numberPipe[2] = {-1, -1};
    if (::access(kXvfb.c_str(), X_OK) != 0 || ::pipe2(numberPipe, O_CLOEXEC) != 0)
        return;
    // The server writes the display number it took to descriptor 100 and closes it.
    ProgramStreams streams;
    streams.passedDescriptors = {numberPipe[1]};
    m_server = std::make_unique<RunningProgram>(kXvfb, std::vector<std::string>{"-displayfd", "100", "-nolisten", "tcp"},
                                                "/nonexistent", streams);
    ::close(numberPipe[1]);
    std::string number;
    if (m_server->Started()
        && ReadUntilClosed(numberPipe[0], number, std::chrono::steady_clock::now() + kStartLimit)
        && number.size() > 1)
        m_display = ":" + number.substr(0, number.size() - 1);
    ::close(numberPipe[0]);
}

void VirtualXServer::End()
{
    if (!m_server)
        return;
    m_server->Signal(SIGTERM);
    m_server->Finish();
}
