#pragma once
#include <string>
#include <utility>
#include <vector>

// Whether COM ports are free, found without opening their devices: an open
// raises a serial device's modem lines, and configuring it would change the
// settings of a program that holds it. A port is free when its device is
// there for reading and writing and no other process has it open or locked;
// a pseudo-terminal's slave held only by processes that hold its master as
// well is the far end of a virtual cable, and free.
class PortProbe {
public:
    static bool CanOpen(int comNumber);
    // The device is open in another process or locked, so opening it would
    // share the line.
    static bool IsHeldElsewhere(const std::string& devicePath);
    // "COM%d" names of the mapped ports that are free now, ascending.
    static std::vector<std::pair<int, std::string>> FreePorts();
};
