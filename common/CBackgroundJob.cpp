#include "CBackgroundJob.h"

#include <system_error>
#include <utility>

CBackgroundJob::~CBackgroundJob()
{
    Stop();
}

bool CBackgroundJob::Start(std::function<void()> job)
{
    if (!m_thread.joinable()) {
        m_bStopping = false;
        try {
            m_thread = std::thread(&CBackgroundJob::Run, this);
        } catch (const std::system_error&) {
            return false;
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_bJobReady = true;
    }
    m_changed.notify_all();
    m_bPending = true;
    return true;
}

void CBackgroundJob::Wait()
{
    if (!m_bPending)
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_bJobReady; });
    m_bPending = false;
}

void CBackgroundJob::Stop()
{
    Wait();
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CBackgroundJob::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_bJobReady || m_bStopping; });
        if (!m_bJobReady)
            return;
        // No lock while the job runs: the owner may be waiting for it.
        lock.unlock();
        m_job();
        lock.lock();
        m_bJobReady = false;
        m_changed.notify_all();
    }
}
