#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// One thread that runs its owner's jobs one at a time, so a read can go on
// while the owner works on bytes read before. Only the owner calls it; the
// thread starts with the first job and is joined by Stop or destruction.
class CBackgroundJob {
public:
    CBackgroundJob() = default;
    ~CBackgroundJob();
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    // Hands `job` to the thread; a job started before must have been waited
    // for. False, with nothing run, when the system cannot start the thread.
    bool Start(std::function<void()> job);
    // Returns once the job started last has run; at once when none is pending.
    // A job only reads a regular file, so it ends as a direct read would.
    void Wait();
    // Waits for the pending job and joins the thread.
    void Stop();
    // A job was started and not yet waited for.
    bool Pending() const { return m_bPending; }

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    bool m_bJobReady = false; // guarded by m_mutex
    bool m_bStopping = false; // guarded by m_mutex
    bool m_bPending = false;  // the owner's own
    std::thread m_thread;
};
