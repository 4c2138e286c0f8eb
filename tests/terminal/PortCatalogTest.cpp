#include "PortCatalog.h"

#include "TempDir.h"
#include "TempSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

using platform::PortCatalog;
namespace fs = std::filesystem;

namespace {

// A device tree with two standard UART slots (one empty), a USB adapter
// known by its by-id link, one without a link, a modem, and a pseudo-terminal.
class FakeSystem {
public:
    FakeSystem()
    {
        fs::create_directories(m_root.File("dev/serial/by-id"));
        fs::create_directories(m_root.File("dev/pts"));
        for (const char* name : {"ttyS0", "ttyS1", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyACM0", "pts/0"})
            AddDevice(name);
        SetUartType("ttyS0", 4);
        SetUartType("ttyS1", 0);
        SetUartType("ttyS10", 4);
        fs::create_symlink("../../ttyUSB1", m_root.File("dev/serial/by-id/usb-Maker_Cable_42-if00"));
        PortCatalog::SetSystemRoot(m_root.Path());
    }
    ~FakeSystem() { PortCatalog::SetSystemRoot(""); }

    void AddDevice(const std::string& name) { WriteFileText(Dev(name), ""); }
    void RemoveDevice(const std::string& name) { fs::remove(Dev(name)); }
    std::string Dev(const std::string& name) const { return m_root.File("dev/" + name); }

private:
    void SetUartType(const std::string& name, int type)
    {
        fs::create_directories(m_root.File("sys/class/tty/" + name));
        WriteFileText(m_root.File("sys/class/tty/" + name + "/type"), std::to_string(type) + "\n");
    }

    TempDir m_root;
};

} // namespace

TEST(PortCatalog, FoundDevicesGetStableNumbers)
{
    TempSettings settings;
    FakeSystem system;
    std::vector<std::pair<int, std::string>> expected{
        {1, system.Dev("ttyS0")},
        {2, system.Dev("ttyS10")},
        {3, system.Dev("serial/by-id/usb-Maker_Cable_42-if00")},
        {4, system.Dev("ttyUSB0")},
        {5, system.Dev("ttyACM0")}};
    EXPECT_EQ(PortCatalog::Ports(), expected);
    EXPECT_EQ(PortCatalog::DevicePath(3), system.Dev("serial/by-id/usb-Maker_Cable_42-if00"));
    EXPECT_EQ(PortCatalog::ComNumber(system.Dev("ttyACM0")), 5);
    EXPECT_EQ(PortCatalog::ComNumber(system.Dev("pts/0")), 0);

    // An unplugged adapter keeps its number; a new one takes the lowest free.
    system.RemoveDevice("ttyUSB0");
    system.AddDevice("ttyUSB7");
    EXPECT_EQ(PortCatalog::DevicePath(4), system.Dev("ttyUSB0"));
    EXPECT_EQ(PortCatalog::DevicePath(6), system.Dev("ttyUSB7"));
    PortCatalog::RemoveMapping(2);
    system.AddDevice("ttyACM3");
    PortCatalog::Scan();
    // ttyS10 is still there, so it is numbered again before the modem.
    EXPECT_EQ(PortCatalog::DevicePath(2), system.Dev("ttyS10"));
    EXPECT_EQ(PortCatalog::DevicePath(7), system.Dev("ttyACM3"));
}

TEST(PortCatalog, ExplicitEntriesAndRange)
{
    TempSettings settings;
    FakeSystem system;
    PortCatalog::SetMapping(255, system.Dev("pts/0"));
    PortCatalog::SetMapping(0, "/dev/null");
    PortCatalog::SetMapping(256, "/dev/null");
    EXPECT_EQ(PortCatalog::DevicePath(255), system.Dev("pts/0"));
    EXPECT_EQ(PortCatalog::DevicePath(0), "");
    EXPECT_EQ(PortCatalog::DevicePath(256), "");
    EXPECT_EQ(PortCatalog::DevicePath(100), "");
    EXPECT_EQ(PortCatalog::Ports().back(), std::make_pair(255, system.Dev("pts/0")));
}

TEST(PortCatalog, LongSerialNumbersInLinkNamesSortByValue)
{
    TempSettings settings;
    FakeSystem system;
    const std::string longName = "serial/by-id/usb-Maker_Cable_123456789012345678901234567-if00";
    fs::create_symlink("../../ttyUSB0", system.Dev(longName));
    std::vector<std::pair<int, std::string>> expected{
        {1, system.Dev("ttyS0")},
        {2, system.Dev("ttyS10")},
        {3, system.Dev("serial/by-id/usb-Maker_Cable_42-if00")},
        {4, system.Dev(longName)},
        {5, system.Dev("ttyACM0")}};
    EXPECT_EQ(PortCatalog::Ports(), expected);
}
