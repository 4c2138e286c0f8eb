#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The instrument at the master end of a PtyPair. It records every byte it
// receives with the time it arrived, answers a carriage return with
// "\r\n>" unless silent, and can send text or a flood of bytes.
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

    // Everything received so far, and the arrivals with their times.
    std::string Received() const;
    std::vector<Arrival> Arrivals() const;
    // True once at least count bytes have been received.
    bool WaitReceived(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    void Run();
    void ReadFromMaster();
    void WriteToMaster();

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
    std::thread m_thread;
};
