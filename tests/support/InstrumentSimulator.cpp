#include "InstrumentSimulator.h"

#include "SerialLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr std::size_t kChunk = 4096;
// The simulator re-checks its state at least this often.
constexpr int kPollMs = 100;
} // namespace

InstrumentSimulator::InstrumentSimulator(int masterFd)
    : m_master(masterFd), m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (m_wake < 0)
        throw std::runtime_error("eventfd failed");
    m_thread = std::thread(&InstrumentSimulator::Run, this);
}

InstrumentSimulator::~InstrumentSimulator()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(m_wake, &one, sizeof one);
    m_thread.join();
    ::close(m_wake);
    if (m_breakReply)
        platform::SetBreakObserver(nullptr);
}

char InstrumentSimulator::FloodByte(std::size_t index)
{
    // Every byte value occurs, and the period is prime so slips show.
    return static_cast<char>((index * 7 + index / 251) % 256);
}

void InstrumentSimulator::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_silent = silent;
}

void InstrumentSimulator::Send(const std::string& bytes)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_outgoing += bytes;
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(m_wake, &one, sizeof one);
}

void InstrumentSimulator::Flood(std::size_t count)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_floodLeft += count;
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(m_wake, &one, sizeof one);
}

bool InstrumentSimulator::WaitSent(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, timeout, [this] { return m_outgoing.empty() && m_floodLeft == 0; });
}

std::string InstrumentSimulator::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

std::vector<InstrumentSimulator::Arrival> InstrumentSimulator::Arrivals() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_arrivals;
}

bool InstrumentSimulator::WaitReceived(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, timeout, [&] { return m_received.size() >= count; });
}

void InstrumentSimulator::AnswerBreaks(const std::string& slavePath, BreakReply reply)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_breakReply = std::move(reply);
    }
    platform::SetBreakObserver([this, slavePath](const std::string& devicePath, bool on) {
        if (!on && devicePath == slavePath)
            AnswerBreak();
    });
}

std::vector<std::uint32_t> InstrumentSimulator::BreakRates() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_breakRates;
}

std::uint32_t InstrumentSimulator::LineRate() const
{
    // The master sees the settings the program gave the slave.
    termios tio{};
    if (::tcgetattr(m_master, &tio) != 0)
        return 0;
    return platform::SerialLine::DecodeSettings(tio).BaudRate;
}

void InstrumentSimulator::AnswerLines(LineHandler handler)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_lineHandler = std::move(handler);
}

void InstrumentSimulator::AnswerBreak()
{
    const std::uint32_t rate = LineRate();
    BreakReply reply;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_breakRates.push_back(rate);
        reply = m_breakReply;
        m_line.clear();
    }
    if (reply)
        Send(reply(rate));
}

void InstrumentSimulator::Run()
{
    for (;;) {
        bool sending;
        bool sessionDue;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_stop)
                return;
            sending = !m_outgoing.empty() || m_floodLeft > 0;
            sessionDue = m_session != nullptr;
        }
        if (sessionDue && !sending) {
            RunSession();
            continue;
        }
        // A session waiting for its reply to go out reads nothing meanwhile.
        const short reading = sessionDue ? 0 : POLLIN;
        pollfd fds[2] = {{m_wake, POLLIN, 0},
                         {m_master, static_cast<short>(reading | (sending ? POLLOUT : 0)), 0}};
        if (::poll(fds, 2, kPollMs) < 0 && errno != EINTR)
            return;
        if (fds[0].revents) {
            std::uint64_t value;
            [[maybe_unused]] ssize_t ignored = ::read(m_wake, &value, sizeof value);
        }
        if (fds[1].revents & POLLIN)
            ReadFromMaster();
        if (fds[1].revents & POLLOUT)
            WriteToMaster();
    }
}

void InstrumentSimulator::ReadFromMaster()
{
    char buffer[kChunk];
    ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got <= 0)
        return;
    std::string bytes(buffer, static_cast<std::size_t>(got));
    std::size_t softwareBreaks = 0;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_received += bytes;
        m_arrivals.push_back({Clock::now(), bytes});
        for (char c : bytes)
            FollowLine(c);
        if (m_breakReply)
            softwareBreaks = CountSoftwareBreaks(bytes);
        m_changed.notify_all();
    }
    for (; softwareBreaks > 0; --softwareBreaks)
        AnswerBreak();
}

void InstrumentSimulator::FollowLine(char c)
{
    if (c == '\b') {
        if (!m_line.empty())
            m_line.pop_back();
        return;
    }
    if (c != '\r') {
        if (c != '\n')
            m_line += c;
        return;
    }
    std::optional<LineAnswer> answer;
    if (m_lineHandler && m_session == nullptr)
        answer = m_lineHandler(m_line);
    m_line.clear();
    if (answer) {
        m_outgoing += answer->reply;
        m_session = std::move(answer->session);
    } else if (!m_silent) {
        m_outgoing += "\r\n>";
    }
}

void InstrumentSimulator::RunSession()
{
    std::function<std::string(int)> session;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        session = m_session;
    }
    std::string after = session(m_master);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_session = nullptr;
        m_outgoing += after;
        m_line.clear();
        m_changed.notify_all();
    }
}

std::size_t InstrumentSimulator::CountSoftwareBreaks(const std::string& bytes)
{
    std::size_t breaks = 0;
    for (char c : bytes) {
        m_equalsInRow = c == '=' ? m_equalsInRow + 1 : 0;
        if (m_equalsInRow == 3) {
            m_equalsInRow = 0;
            m_line.clear();
            ++breaks;
        }
    }
    return breaks;
}

void InstrumentSimulator::WriteToMaster()
{
    std::string chunk;
    bool fromOutgoing;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        fromOutgoing = !m_outgoing.empty();
        if (fromOutgoing) {
            chunk = m_outgoing.substr(0, kChunk);
        } else {
            std::size_t n = std::min(kChunk, m_floodLeft);
            for (std::size_t i = 0; i < n; ++i)
                chunk.push_back(FloodByte(m_floodIndex + i));
        }
    }
    if (chunk.empty())
        return;
    ssize_t put = ::write(m_master, chunk.data(), chunk.size());
    if (put <= 0)
        return;
    std::lock_guard<std::mutex> guard(m_lock);
    auto written = static_cast<std::size_t>(put);
    if (fromOutgoing) {
        m_outgoing.erase(0, written);
    } else {
        m_floodLeft -= written;
        m_floodIndex += written;
    }
    m_changed.notify_all();
}
