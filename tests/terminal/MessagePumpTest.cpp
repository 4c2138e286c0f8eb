#include "MessagePump.h"

#include "CpuTime.h"
#include "GuiTestApp.h"
#include "PumpUntil.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kLongWaitSeconds = 600;

TEST(MessagePump, WaitDispatchesWithoutSpinning)
{
    GuiTestApp();
    bool dispatched = false;
    QTimer::singleShot(50, [&] { dispatched = true; });
    double cpuBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    auto start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(0, 500), 1);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 500ms);
    EXPECT_TRUE(dispatched);
    // A loop that spins uses the processor for the whole wait, however fast the machine.
    EXPECT_LT(CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuBefore, 0.5 * std::chrono::duration<double>(waited).count());

    EXPECT_EQ(platform::WaitWithMessages(0, 0), 1);
}

TEST(MessagePump, ClosingEndsWaits)
{
    GuiTestApp();
    EXPECT_EQ(platform::PumpMessages(), 1);
    // The close arrives while the wait runs, as a queued event would.
    QTimer::singleShot(20, [] { platform::SetClosing(true); });
    // Far longer than the test waits: only the close can end it in time.
    auto start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(kLongWaitSeconds, 0), platform::PUMP_QUIT);
    EXPECT_LT(Clock::now() - start, kGenerous);
    EXPECT_EQ(platform::PumpMessages(), platform::PUMP_QUIT);
    platform::SetClosing(false);
    EXPECT_EQ(platform::PumpMessages(), 1);
}
