#include "MessagePump.h"

#include "GuiTestApp.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <time.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
} // namespace

TEST(MessagePump, WaitDispatchesWithoutSpinning)
{
    GuiTestApp();
    bool dispatched = false;
    QTimer::singleShot(50, [&] { dispatched = true; });
    double cpuBefore = ThreadCpuSeconds();
    auto start = Clock::now();
    EXPECT_EQ(platform::WaitWithMessages(0, 500), 1);
    EXPECT_GE(Clock::now() - start, 500ms);
    EXPECT_TRUE(dispatched);
    EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.1);

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
