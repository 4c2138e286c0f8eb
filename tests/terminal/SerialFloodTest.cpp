#include "SerialTestFixture.h"

#include "CBaseFile.h"
#include "TempDir.h"

using namespace std::chrono_literals;

// Ten megabytes through the pseudo-terminal arrive byte for byte in the
// log, while the window keeps only its line limit and commands still go out.
TEST_F(SerialTest, FloodArrivesExactlyInTheLog)
{
    const std::size_t total = 10u * 1000 * 1000;
    TempDir dir;
    CBaseFile log;
    ASSERT_EQ(log.Create(dir.File("flood.log"), true), S_OK);
    m_window.m_hLogFile = log.m_hFile;
    m_window.m_nLogBytes = 0;
    m_instrument.SetSilent(true);
    OpenPort();

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
