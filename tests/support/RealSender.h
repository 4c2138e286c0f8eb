#pragma once
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// lrzsz's sender as the peer, with its standard input and output on the
// master end of a pseudo-terminal (switched to blocking reads, which the
// sender needs). A sender still running when this ends is killed.
class RealSender {
public:
    RealSender(int masterFd, const std::vector<std::string>& arguments);
    ~RealSender();
    RealSender(const RealSender&) = delete;
    RealSender& operator=(const RealSender&) = delete;

    bool Started() const { return m_ok; }
    void Kill();
    // Waits for the sender to end; its wait status.
    int Wait();
    // Waits at most that long: the wait status, or -1 while it still runs.
    int Wait(std::chrono::seconds timeout);

private:
    pid_t m_pid = -1;
    bool m_ok = false;
};
