#include "SerialTestFixture.h"

#include "CBaseFile.h"
#include "CLineHold.h"
#include "CpuTime.h"
#include "PortCatalog.h"
#include "SerialLine.h"
#include "TempDir.h"

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(SerialPortClosed, OperationsFailWithoutSideEffects)
{
    CSerialPort port;
    port.Close();
    char buffer[4];
    std::uint32_t count = 99;
    EXPECT_EQ(port.Read(buffer, 4, &count), E_FAIL);
    EXPECT_EQ(port.ReadTimed(buffer, 4, 1, &count), E_FAIL);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.ReadTimed(buffer, 0, 1, &count), S_OK);
    EXPECT_EQ(port.Write("x", 1), E_FAIL);
    EXPECT_EQ(port.SendBreak(10), E_FAIL);
    EXPECT_FALSE(port.Purge(PURGE_RXCLEAR));
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortClosed, ParityAndStopBitCodes)
{
    CSerialPort port;
    const struct {
        char letter;
        char shown;
        std::uint8_t code;
    } cases[] = {{'E', 'E', platform::EVENPARITY}, {'O', 'O', platform::ODDPARITY},
                 {'M', 'M', platform::MARKPARITY}, {'S', 'S', platform::SPACEPARITY},
                 {'N', 'N', platform::NOPARITY},   {'e', 'N', platform::NOPARITY},
                 {'x', 'N', platform::NOPARITY}};
    platform::LineSettings dcb;
    for (const auto& c : cases) {
        EXPECT_TRUE(port.SetComm(4800, c.letter, 1, 7));
        port.GetDCB(dcb);
        EXPECT_EQ(dcb.Parity, c.code) << c.letter;
        EXPECT_EQ(port.GetParityChar(), c.shown) << c.letter;
    }
    for (int stop : {0, 1, 3})
        EXPECT_TRUE(port.SetParams(nullptr, 1, 9600, 'N', static_cast<std::uint8_t>(stop), 8, 4096, 128));
    port.GetDCB(dcb);
    EXPECT_EQ(dcb.StopBits, platform::ONESTOPBIT);
    port.SetComm(9600, 'N', 2, 8);
    port.GetDCB(dcb);
    EXPECT_EQ(dcb.StopBits, platform::TWOSTOPBITS);
    EXPECT_EQ(dcb.BaudRate, 9600u);
}

TEST_F(SerialTest, UnmappedAndBusyPortsAreRefused)
{
    CSerialPort unmapped;
    unmapped.SetParams(nullptr, 250, 9600, 'N', 1, 8, 4096, 128);
    EXPECT_EQ(unmapped.Open(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

    OpenPort();
    CSerialPort second;
    second.SetParams(nullptr, kTestPort, 9600, 'N', 1, 8, 4096, 128);
    EXPECT_EQ(second.Open(), HRESULT_FROM_WIN32(ERROR_BUSY));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(m_port.IsOpen());

    m_port.Close();
    EXPECT_EQ(second.Open(), S_OK);
}

TEST(SerialLineCoding, EveryValueSurvivesTheTermiosCoding)
{
    for (std::uint32_t baud : {300u, 600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u})
        for (std::uint8_t parity = 0; parity <= platform::SPACEPARITY; ++parity)
            for (std::uint8_t size : {std::uint8_t{5}, std::uint8_t{6}, std::uint8_t{7}, std::uint8_t{8}})
                for (std::uint8_t stop : {platform::ONESTOPBIT, platform::TWOSTOPBITS}) {
                    termios tio{};
                    platform::LineSettings wanted{baud, size, parity, stop};
                    ASSERT_TRUE(platform::SerialLine::EncodeSettings(wanted, tio));
                    platform::LineSettings got = platform::SerialLine::DecodeSettings(tio);
                    EXPECT_EQ(got.BaudRate, baud);
                    EXPECT_EQ(got.ByteSize, size);
                    EXPECT_EQ(got.Parity, parity);
                    EXPECT_EQ(got.StopBits, stop);
                }
    termios tio{};
    EXPECT_FALSE(platform::SerialLine::EncodeSettings({12345, 8, 0, 0}, tio));
    EXPECT_FALSE(platform::SerialLine::EncodeSettings({9600, 9, 0, 0}, tio));
    // Mark parity is a sticky odd bit.
    ASSERT_TRUE(platform::SerialLine::EncodeSettings({9600, 8, platform::MARKPARITY, 0}, tio));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
}

// Pseudo-terminals keep rate, stop bits and the raw mode but always report
// eight bits without parity, so those two are checked through the coding above.
TEST_F(SerialTest, LineSettingsReachTheDevice)
{
    // Stored while closed, applied at Open.
    EXPECT_TRUE(m_port.SetComm(19200, 'E', 2, 7));
    OpenPort();
    termios tio = m_pty.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B19200));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(tio.c_oflag & OPOST);

    // Applied at once while open.
    EXPECT_TRUE(m_port.SetComm(115200, 'N', 1, 8));
    tio = m_pty.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);

    EXPECT_FALSE(m_port.SetComm(12345, 'N', 1, 8));
    EXPECT_TRUE(m_port.IsOpen());
}

TEST_F(SerialTest, ReadResults)
{
    OpenPort();
    char buffer[16] = {};
    std::uint32_t count = 99;
    EXPECT_EQ(m_port.Read(buffer, 0, &count), E_FAIL);
    EXPECT_EQ(m_port.Read(buffer, 4, &count), 1);
    EXPECT_EQ(count, 0u);

    m_instrument.Send("abcdef");
    ASSERT_TRUE(PumpUntil([&] { return WindowText() == "abcdef|"; }));
    EXPECT_EQ(m_port.Read(buffer, 4, &count), S_OK);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(m_port.Read(buffer, 4, &count), 1);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
}

TEST_F(SerialTest, ReadTimedResults)
{
    OpenPort();
    char buffer[16] = {};
    std::uint32_t count = 99;
    EXPECT_EQ(m_port.ReadTimed(buffer, 0, 0, &count), S_OK);
    EXPECT_EQ(count, 0u);

    // Bytes that arrive during the wait complete it.
    m_instrument.Send("12");
    EXPECT_EQ(m_port.ReadTimed(buffer, 2, 5, &count), S_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(buffer, 2), "12");

    // A 0-second wait fails even when every byte is there, but keeps them.
    m_instrument.Send("345");
    ASSERT_TRUE(PumpUntil([&] { return WindowText() == "12345|"; }));
    EXPECT_EQ(m_port.ReadTimed(buffer, 3, 0, &count), E_FAIL);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::string(buffer, 3), "345");

    // Nothing comes: the wait ends at its deadline with what it got.
    m_instrument.Send("6");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_port.ReadTimed(buffer, 4, 1, &count), E_FAIL);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(count, 1u);

    // A closing program ends the wait at once.
    platform::SetClosing(true);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_port.ReadTimed(buffer, 4, 600, &count), E_FAIL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kGenerous);
}

TEST_F(SerialTest, RingKeepsTheNewestBytesInOrder)
{
    // The log file tells when every byte has passed the worker.
    TempDir dir;
    CBaseFile log;
    ASSERT_EQ(log.Create(dir.File("ring.log"), true), S_OK);
    m_window.m_hLogFile = log.m_hFile;
    OpenPort();
    const std::size_t total = 3 * CSerialPort::kRingSize + 1234;
    m_instrument.Flood(total);
    ASSERT_TRUE(PumpUntil([&] { return log.GetLength() == total; }));

    std::vector<char> got(CSerialPort::kRingSize + 10);
    std::uint32_t count = 0;
    EXPECT_EQ(m_port.Read(got.data(), static_cast<std::uint32_t>(got.size()), &count), 1);
    ASSERT_EQ(count, CSerialPort::kRingSize);
    std::size_t first = total - CSerialPort::kRingSize;
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(got[i], InstrumentSimulator::FloodByte(first + i)) << i;
}

TEST_F(SerialTest, WithoutDeliveryTheRingStillFills)
{
    OpenPort();
    m_port.m_bDeliver = false;
    m_instrument.Send("abc");
    char buffer[3];
    std::uint32_t count = 0;
    ASSERT_EQ(m_port.ReadTimed(buffer, 3, 5, &count), S_OK);
    EXPECT_EQ(std::string(buffer, 3), "abc");

    // Batches are delivered in order, so "abc" would show before "X".
    m_port.m_bDeliver = true;
    m_instrument.Send("X");
    ASSERT_TRUE(PumpUntil([&] { return !m_window.Lines().empty(); }));
    EXPECT_EQ(WindowText(), "X|");
}

TEST_F(SerialTest, FlushInputDiscardsTheRing)
{
    OpenPort();
    m_instrument.Send("old");
    ASSERT_TRUE(PumpUntil([&] { return WindowText() == "old|"; }));
    m_port.FlushInput();
    char buffer[8];
    std::uint32_t count = 99;
    EXPECT_EQ(m_port.Read(buffer, 8, &count), 1);
    EXPECT_EQ(count, 0u);
    m_instrument.Send("new");
    EXPECT_EQ(m_port.ReadTimed(buffer, 3, 5, &count), S_OK);
    EXPECT_EQ(std::string(buffer, 3), "new");
}

// A close right after the writes still sends them: the last ones may be the
// cancel that stops the instrument's sender.
TEST_F(SerialTest, WritesArriveInOrderAndNoneIsLostToAClose)
{
    m_instrument.SetSilent(true);
    OpenPort();
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "w%03d;", i);
        ASSERT_EQ(m_port.Write(text, static_cast<std::uint32_t>(std::strlen(text))), S_OK);
        expected += text;
    }
    EXPECT_EQ(m_port.Write(nullptr, 0), S_OK);
    m_port.Close();
    ASSERT_TRUE(m_instrument.WaitReceived(expected.size(), 10s));
    EXPECT_EQ(m_instrument.Received(), expected);
}

TEST_F(SerialTest, TypedCommandGetsThePrompt)
{
    OpenPort();
    for (char c : std::string("CK\r"))
        m_port.Write(&c, 1);
    ASSERT_TRUE(PumpUntil([&] { return WindowText() == "|>|"; }));
    EXPECT_EQ(m_instrument.Received(), "CK\r");
    EXPECT_EQ(m_window.GetReceivedText(), "\r\n>");
}

TEST_F(SerialTest, BreaksReachTheLine)
{
    struct Event {
        std::string path;
        bool on;
        std::chrono::steady_clock::time_point time;
    };
    std::mutex lock;
    std::vector<Event> events;
    platform::SetBreakObserver([&](const std::string& path, bool on) {
        std::lock_guard<std::mutex> guard(lock);
        events.push_back({path, on, std::chrono::steady_clock::now()});
    });
    OpenPort();
    EXPECT_EQ(m_port.SendBreak(400), S_OK);
    platform::SetBreakObserver(nullptr);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].path, m_pty.SlavePath());
    EXPECT_TRUE(events[0].on);
    EXPECT_FALSE(events[1].on);
    EXPECT_GE(events[1].time - events[0].time, 400ms);
}

// The cables that go away have no simulator on their master, whose
// descriptor number the next one opened may reuse.
TEST_F(SerialTest, LostDeviceEndsTheWorkerAndClosesTheDeviceAtOnce)
{
    PtyPair cable;
    cable.MapTo(kTestPort);
    OpenPort();
    EXPECT_EQ(cable.SlaveDescriptors(), 2);
    cable.CloseMaster();
    ASSERT_TRUE(PumpUntil([&] { return !m_port.IsOpen(); }));
    char buffer[1];
    EXPECT_EQ(m_port.Read(buffer, 1), E_FAIL);
    EXPECT_EQ(m_port.Write("x", 1), E_FAIL);
    // Closed without a Close: an adapter that comes back finds its node free.
    EXPECT_TRUE(PumpUntil([&] { return cable.SlaveDescriptors() == 1; }));
}

TEST_F(SerialTest, ALossReportedByAReplacedWorkerLeavesTheNewLineOpen)
{
    PtyPair lost;
    lost.MapTo(kTestPort);
    OpenPort();
    lost.CloseMaster();
    // The worker has reported the loss; the user-interface thread has not seen it yet.
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (m_port.IsOpen() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_FALSE(m_port.IsOpen());
    m_pty.MapTo(kTestPort);
    OpenPort();
    EXPECT_EQ(m_port.Write("ID\r", 3), S_OK);
    // The pumping hands the old worker's wake-up over too.
    EXPECT_TRUE(PumpUntil([&] { return m_instrument.Received() == "ID\r"; }));
    EXPECT_TRUE(m_port.IsOpen());
}

TEST_F(SerialTest, AHeldLineTakesOnlyTheStepsItsHolderAdmits)
{
    OpenPort();
    int freed = 0;
    m_port.SetLineFreedHandler([&] { ++freed; });
    {
        CLineHold hold(m_port);
        EXPECT_EQ(m_port.Write("other\r", 6), E_FAIL);
        EXPECT_EQ(m_port.SendBreak(10), E_FAIL);
        EXPECT_FALSE(m_port.SetComm(19200, 'N', 1, 8));
        EXPECT_FALSE(m_port.Purge(PURGE_TXCLEAR));
        EXPECT_EQ(hold.Admit([&] { return m_port.Write("held\r", 5); }), S_OK);
        EXPECT_TRUE(hold.Admit([&] { return m_port.SetComm(19200, 'N', 1, 8); }));
        // The admission ends with the step.
        EXPECT_EQ(m_port.Write("later\r", 6), E_FAIL);
        EXPECT_EQ(freed, 0);
    }
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(m_port.Write("free\r", 5), S_OK);
    ASSERT_TRUE(m_instrument.WaitReceived(10, kGenerous));
    EXPECT_EQ(m_instrument.Received(), "held\rfree\r");
}

TEST_F(SerialTest, IdleOpenPortCostsNoProcessorTime)
{
    OpenPort();
    double before = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::WaitWithMessages(1, 0), 1);
    // A worker or a wait that spins keeps a processor busy for the whole second.
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before, 0.5 * waited);
}

TEST_F(SerialTest, CloseDuringAFloodAndOpenAgain)
{
    OpenPort();
    m_instrument.Flood(50u * 1000 * 1000);
    ASSERT_TRUE(PumpUntil([&] { return m_window.Lines().size() > 10; }));
    auto start = std::chrono::steady_clock::now();
    m_port.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kGenerous);
    EXPECT_FALSE(m_port.IsOpen());
    OpenPort();
    EXPECT_EQ(m_port.Write("\r", 1), S_OK);
}
