#pragma once
#include <string>
#include <utility>
#include <vector>

namespace platform {

// COM numbers 1-255 and the devices behind them. The map lives in Parlim's
// settings, group "Port Map" ("COM3" = "/dev/ttyUSB0"). Serial devices found
// on the system get the lowest free number and keep it (USB adapters by
// their by-id link, so a replug keeps its number); pseudo-terminals appear
// only through explicit entries.
class PortCatalog {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 255;

    // Device path of COM n after a scan; "" when none is mapped.
    static std::string DevicePath(int comPort);
    // COM number mapped to the path, 0 when none.
    static int ComNumber(const std::string& devicePath);
    // Every mapped port after a scan, ascending: (COM number, device path).
    static std::vector<std::pair<int, std::string>> Ports();

    // Explicit entries (tests map pseudo-terminals this way).
    static void SetMapping(int comPort, const std::string& devicePath);
    static void RemoveMapping(int comPort);

    // Looks for serial devices and numbers the new ones; the lookups above
    // call it, so callers rarely need to.
    static void Scan();

    // Prefix of /dev and /sys; tests point it at a fake tree ("" by default).
    static void SetSystemRoot(const std::string& root);
};

} // namespace platform
