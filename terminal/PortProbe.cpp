#include "PortProbe.h"

#include "Format.h"
#include "PortCatalog.h"
#include "SerialLine.h"

bool PortProbe::CanOpen(int comNumber)
{
    std::string device = platform::PortCatalog::DevicePath(comNumber);
    if (device.empty())
        return false;
    platform::SerialLine line;
    return line.Open(device) == S_OK;
}

std::vector<std::pair<int, std::string>> PortProbe::FreePorts()
{
    std::vector<std::pair<int, std::string>> ports;
    for (const auto& [number, device] : platform::PortCatalog::Ports()) {
        platform::SerialLine line;
        if (line.Open(device) == S_OK)
            ports.emplace_back(number, platform::Format("COM%d", number));
    }
    return ports;
}
