#pragma once

namespace platform {

// A manual-reset event on an eventfd: Set wakes every poll on Fd until Reset.
class WakeEvent {
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    bool IsValid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    void Set();
    void Reset();
    bool IsSet() const;

private:
    int m_fd = -1;
};

} // namespace platform
