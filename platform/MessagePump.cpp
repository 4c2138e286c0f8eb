#include "MessagePump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace platform {

namespace {
// The longest a pump blocks without an event arriving.
constexpr int kPumpSliceMs = 10;

std::atomic<bool> g_closing{false};

void ProcessEventsFor(int milliseconds)
{
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    // The timer guarantees the blocking wait ends even when nothing arrives.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(milliseconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int Pump(int milliseconds)
{
    if (g_closing.load())
        return PUMP_QUIT;
    ProcessEventsFor(milliseconds);
    return g_closing.load() ? PUMP_QUIT : 1;
}
} // namespace

int PumpMessages()
{
    return Pump(kPumpSliceMs);
}

int WaitWithMessages(int seconds, int milliseconds)
{
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::seconds(seconds) +
                    std::chrono::milliseconds(milliseconds);
    while (Clock::now() < deadline) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        int slice = static_cast<int>(std::clamp<long long>(left, 1, kPumpSliceMs));
        if (Pump(slice) == PUMP_QUIT)
            return PUMP_QUIT;
    }
    return 1;
}

void SetClosing(bool closing)
{
    g_closing.store(closing);
}

bool IsClosing()
{
    return g_closing.load();
}

} // namespace platform
