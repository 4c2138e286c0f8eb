#pragma once
#include "MessagePump.h"

#include <chrono>
#include <functional>

// How long a test waits for an event that normally comes at once.
inline constexpr std::chrono::milliseconds kGenerous{60000};

// Pumps the event loop until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        platform::PumpMessages();
    }
    return true;
}
