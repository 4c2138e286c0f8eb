#include "SerialTestFixture.h"

#include "CBaseFile.h"
#include "TempDir.h"

#include <QTimer>

using namespace std::chrono_literals;

// Ten megabytes through the pseudo-terminal arrive byte for byte in the
// log, while the window keeps only its line limit and commands still go out.
TEST_F(SerialTest, FloodArrivesExactlyInTheLog)
{
    const std::size_t total = 10u * 1000 * 1000;
    TempDir dir;
    CBaseFile log;
    m_window.m_nLogBytes = 0;
    ASSERT_NO_FATAL_FAILURE(OpenSilentWithLog(log, dir.File("flood.log")));

    m_instrument.Flood(total);
    ASSERT_EQ(m_port.Write("first\r", 6), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return log.GetLength() >= total / 2; }, 60s));
    ASSERT_EQ(m_port.Write("second\r", 7), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return log.GetLength() >= total; }, 60s));

    EXPECT_EQ(log.GetLength(), total);
    EXPECT_LE(m_window.Lines().size(), 2000u);
    EXPECT_TRUE(m_instrument.WaitReceived(13, 5s));
    EXPECT_EQ(m_instrument.Received(), "first\rsecond\r");
    std::vector<std::uint8_t> logged = ReadFileBytes(dir.File("flood.log"));
    ASSERT_EQ(logged.size(), total);
    for (std::size_t i = 0; i < total; ++i)
        ASSERT_EQ(static_cast<char>(logged[i]), InstrumentSimulator::FloodByte(i)) << i;
}

// Other events still run between batches while a flood keeps the worker busy.
TEST_F(SerialTest, FloodLeavesTheEventLoopResponsive)
{
    const std::size_t total = 20u * 1000 * 1000;
    TempDir dir;
    CBaseFile log;
    ASSERT_NO_FATAL_FAILURE(OpenSilentWithLog(log, dir.File("flood.log")));
    m_instrument.Flood(total);
    ASSERT_TRUE(PumpUntil([&] { return log.GetLength() > 0; }));
    // 0 until the timer runs: a delivery that drains the whole flood in one
    // go keeps it out to the end.
    std::uint64_t loggedWhenTimerRan = 0;
    QTimer::singleShot(0, [&] { loggedWhenTimerRan = log.GetLength(); });
    ASSERT_TRUE(PumpUntil([&] { return log.GetLength() >= total; }, 60s));
    EXPECT_GT(loggedWhenTimerRan, 0u);
    EXPECT_LT(loggedWhenTimerRan, total / 2);
}

// Every operation of the user-interface thread runs beside a worker that is
// draining and writing (a ThreadSanitizer build checks the sharing).
TEST_F(SerialTest, OperationsBesideABusyWorker)
{
    const std::size_t total = 2u * 1000 * 1000;
    TempDir dir;
    CBaseFile log;
    ASSERT_NO_FATAL_FAILURE(OpenSilentWithLog(log, dir.File("busy.log")));
    m_instrument.Flood(total);
    char buffer[256];
    int round = 0;
    ASSERT_TRUE(PumpUntil([&] {
        ++round;
        m_port.Write("\r", 1);
        m_port.Read(buffer, sizeof buffer);
        m_port.m_bDeliver = round % 3 != 0;
        if (round % 5 == 0)
            m_port.FlushInput();
        if (round % 7 == 0) {
            EXPECT_TRUE(m_port.Purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
        }
        if (round % 11 == 0) {
            EXPECT_TRUE(m_port.SetComm(round % 2 ? 19200 : 9600, 'N', 1, 8));
        }
        return m_instrument.WaitSent(0ms);
    }, 60s));
    EXPECT_TRUE(m_port.IsOpen());
    EXPECT_GT(log.GetLength(), 0u);
    ASSERT_EQ(m_port.Write("end", 3), S_OK);
    ASSERT_TRUE(PumpUntil([&] {
        std::string received = m_instrument.Received();
        return received.size() >= 3 && received.compare(received.size() - 3, 3, "end") == 0;
    }));
}
