#include "MessagePump.h"

#include "CpuTime.h"
#include "GuiTestApp.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(MessagePump, WaitDispatchesWithoutSpinning)
{
    GuiTestApp();
    bool dispatched = false;
    QTimer::singleShot(50, [&] { dispatched = true; });
    double cpuBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    auto start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(0, 500), 1);
    EXPECT_GE(Clock::now() - start, 500ms);
    EXPECT_TRUE(dispatched);
    EXPECT_LT(CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuBefore, 0.1);

    start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(0, 0), 1);
    EXPECT_LT(Clock::now() - start, 50ms);
}

TEST(MessagePump, ClosingEndsWaits)
{
    GuiTestApp();
    EXPECT_EQ(platform::PumpMessages(), 1);
    // The close arrives while the wait runs, as a queued event would.
    QTimer::singleShot(20, [] { platform::SetClosing(true); });
    auto start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(10, 0), platform::PUMP_QUIT);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(platform::PumpMessages(), platform::PUMP_QUIT);
    platform::SetClosing(false);
    EXPECT_EQ(platform::PumpMessages(), 1);
}
