#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The instrument at the master end of a PtyPair. It records every byte it
// receives with the time it arrived, answers a carriage return with
// "\r\n>" unless silent, and can send text or a flood of bytes. A backspace
// takes back the last character of the line being typed.
class InstrumentSimulator {
public:
    using Clock = std::chrono::steady_clock;

    struct Arrival {
        Clock::time_point time;
        std::string bytes;
    };

    explicit InstrumentSimulator(int masterFd);
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    void SetSilent(bool silent);
    // Queues bytes to send; they go out in order behind earlier ones.
    void Send(const std::string& bytes);
    // Queues count bytes of a repeating pattern (see FloodByte).
    void Flood(std::size_t count);
    static char FloodByte(std::size_t index);
    // True once everything queued has been written to the master.
    bool WaitSent(std::chrono::milliseconds timeout);

    // The reply to a break: the bytes to send for the line rate in force when
    // the break ends (empty: no reply). Called on the thread that sends the
    // break, or on the simulator's thread for a software break ("===").
    using BreakReply = std::function<std::string(std::uint32_t baudRate)>;
    // Answers every break the program sends on that slave device, and every
    // "===" it writes; the rates of the breaks are kept in order.
    void AnswerBreaks(const std::string& slavePath, BreakReply reply);
    std::vector<std::uint32_t> BreakRates() const;

    // How the instrument answers a line the program ends with a carriage
    // return: a reply sent instead of "\r\n>", then, when given, a session
    // that has the master to itself on the simulator's thread (a transfer,
    // say) and returns the bytes to send after it. A break starts a new line.
    // The handler runs under the simulator's lock: it must not call it.
    struct LineAnswer {
        std::string reply;
        std::function<std::string(int masterFd)> session;
    };
    using LineHandler = std::function<std::optional<LineAnswer>(const std::string& line)>;
    void AnswerLines(LineHandler handler);

    // Everything received so far, and the arrivals with their times.
    std::string Received() const;
    std::vector<Arrival> Arrivals() const;
    // True once at least count bytes have been received.
    bool WaitReceived(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    void Run();
    void ReadFromMaster();
    void WriteToMaster();
    void AnswerBreak();
    // Called under the lock for each byte read.
    void FollowLine(char c);
    void RunSession();
    // Called under the lock with the bytes just read.
    std::size_t CountSoftwareBreaks(const std::string& bytes);
    std::uint32_t LineRate() const;

    int m_master;
    int m_wake;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_stop = false;
    bool m_silent = false;
    std::string m_received;
    std::vector<Arrival> m_arrivals;
    std::string m_outgoing;
    std::size_t m_floodLeft = 0;
    std::size_t m_floodIndex = 0;
    BreakReply m_breakReply;
    std::vector<std::uint32_t> m_breakRates;
    std::size_t m_equalsInRow = 0;
    LineHandler m_lineHandler;
    std::string m_line;
    std::function<std::string(int)> m_session;
    std::thread m_thread;
};
