#include "CSerialPort.h"
#include "ConnectedTerminal.h"
#include "PortProbe.h"
#include "RunningProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The slot's rate coding and the speed each code must give the line.
struct RateCode {
    int code;
    const char* text;
    speed_t speed;
};
const RateCode kRateCodes[] = {{-1, "300", B300},     {0, "600", B600},       {1, "1200", B1200},
                               {2, "2400", B2400},    {3, "4800", B4800},     {4, "9600", B9600},
                               {5, "19200", B19200},  {6, "38400", B38400},   {7, "57600", B57600},
                               {8, "115200", B115200}};

class PortRates : public ConnectedTerminal {
protected:
    speed_t LineSpeed() const
    {
        termios tio = m_pty.SlaveTermios();
        return ::cfgetospeed(&tio);
    }
};

TEST_F(PortRates, EveryCodedRateReachesTheLineAndTheStatusBar)
{
    Start(0, 0);
    EXPECT_EQ(LineSpeed(), static_cast<speed_t>(B600));
    EXPECT_EQ(m_doc->GetStatusText(), "600, N, 8, 1");
    for (const RateCode& rate : kRateCodes) {
        m_doc->LineSettings().m_nBaud = rate.code;
        m_doc->ApplyPortSettings();
        EXPECT_EQ(LineSpeed(), rate.speed) << rate.text;
        EXPECT_EQ(m_doc->GetStatusText(), std::string(rate.text) + ", N, 8, 1");
    }
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(PortRates, ARefusedRateLeavesTheLineAndItsStatusAsTheyWere)
{
    Start(0, 4);
    CSerialPort& serial = m_doc->Port();
    EXPECT_FALSE(serial.SetComm(14400, 'N', 1, 8));
    EXPECT_FALSE(serial.SetComm(9600, 'N', 1, 9));
    EXPECT_EQ(LineSpeed(), static_cast<speed_t>(B9600));
    EXPECT_EQ(m_doc->GetStatusText(), "9600, N, 8, 1");
}

// Another program holding a port: a shell that keeps the device open after
// giving it settings of its own.
RunningProgram OtherProgram(const std::string& device)
{
    return RunningProgram(
        "/bin/sh",
        {"-c", "exec 3<>\"$0\"; stty 4800 cs7 parenb parodd icanon ixon ixoff <&3; exec sleep 300", device},
        "", ProgramStreams{});
}

// Another process holding descriptors of ours, as a program serving a
// virtual cable holds the ends it made.
RunningProgram DescriptorHolder(const std::vector<int>& fds)
{
    ProgramStreams streams;
    streams.passedDescriptors = fds;
    return RunningProgram("/bin/sleep", {"300"}, "", streams);
}

bool Listed(int comNumber)
{
    const auto ports = PortProbe::FreePorts();
    return std::any_of(ports.begin(), ports.end(), [&](const auto& port) { return port.first == comNumber; });
}

bool SameSettings(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           ::cfgetospeed(&a) == ::cfgetospeed(&b) && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc);
}

TEST(PortProbe, APortHeldElsewhereIsNotFreeAndProbingChangesNothing)
{
    GuiTestApp();
    TempSettings settings;
    TempDir noDevices;
    platform::PortCatalog::SetSystemRoot(noDevices.Path());
    PtyPair pty;
    constexpr int kPort = 9;
    pty.MapTo(kPort);
    EXPECT_TRUE(PortProbe::CanOpen(kPort));
    EXPECT_TRUE(Listed(kPort));

    {
        const RunningProgram holder = OtherProgram(pty.SlavePath());
        ASSERT_TRUE(holder.Started());
        ASSERT_TRUE(PumpUntil([&] {
            termios tio = pty.SlaveTermios();
            return ::cfgetospeed(&tio) == B4800 && (tio.c_lflag & ICANON) && (tio.c_iflag & IXOFF);
        }));
        // The shell holds the device once stty has run, as its settings show.
        const termios before = pty.SlaveTermios();
        EXPECT_FALSE(PortProbe::CanOpen(kPort));
        EXPECT_FALSE(Listed(kPort));
        EXPECT_TRUE(SameSettings(pty.SlaveTermios(), before));
    }
    EXPECT_TRUE(PortProbe::CanOpen(kPort));

    // A port this program has open is locked, and is not free either.
    platform::SerialLine ours;
    ASSERT_EQ(ours.Open(pty.SlavePath()), S_OK);
    EXPECT_FALSE(PortProbe::CanOpen(kPort));
    EXPECT_FALSE(Listed(kPort));
    platform::PortCatalog::SetSystemRoot("");
}

TEST(PortProbe, AVirtualCableEndIsFreeUnlessAnotherProcessHoldsIt)
{
    GuiTestApp();
    TempSettings settings;
    TempDir noDevices;
    platform::PortCatalog::SetSystemRoot(noDevices.Path());
    PtyPair cable;
    constexpr int kPort = 7;
    constexpr int kLinkedPort = 8;
    cable.MapTo(kPort);
    // A bridge's link names the slave by another path.
    const std::string link = noDevices.File("ttyV0");
    ASSERT_EQ(::symlink(cable.SlavePath().c_str(), link.c_str()), 0);
    platform::PortCatalog::SetMapping(kLinkedPort, link);

    {
        const RunningProgram bridge = DescriptorHolder({cable.MasterFd(), cable.SlaveFd()});
        ASSERT_TRUE(bridge.Started());
        EXPECT_TRUE(PortProbe::CanOpen(kPort));
        EXPECT_TRUE(Listed(kPort));
        EXPECT_TRUE(Listed(kLinkedPort));

        // One more program on the slave makes it busy again.
        const RunningProgram user = DescriptorHolder({cable.SlaveFd()});
        ASSERT_TRUE(user.Started());
        EXPECT_FALSE(PortProbe::CanOpen(kPort));
        EXPECT_FALSE(Listed(kLinkedPort));
    }
    {
        // The master of another pseudo-terminal does not free this one.
        PtyPair other;
        const RunningProgram mixed = DescriptorHolder({other.MasterFd(), cable.SlaveFd()});
        ASSERT_TRUE(mixed.Started());
        EXPECT_FALSE(PortProbe::CanOpen(kPort));
    }
    EXPECT_TRUE(PortProbe::CanOpen(kPort));
    platform::PortCatalog::SetSystemRoot("");
}

using PortHolders = ConnectedTerminal;

TEST_F(PortHolders, ConnectRefusesAPortAnotherProcessHoldsButTakesAVirtualCableEnd)
{
    Start();
    m_doc->ClosePort();
    {
        const RunningProgram user = DescriptorHolder({m_pty.SlaveFd()});
        ASSERT_TRUE(user.Started());
        m_doc->Connect();
        EXPECT_FALSE(m_doc->IsConnected());
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Access Denied COM3"});
    }
    const RunningProgram bridge = DescriptorHolder({m_pty.MasterFd(), m_pty.SlaveFd()});
    ASSERT_TRUE(bridge.Started());
    m_doc->Connect();
    EXPECT_TRUE(m_doc->IsConnected());
    EXPECT_EQ(m_messages.Texts().size(), 1u);
}

} // namespace
