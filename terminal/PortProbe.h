#pragma once
#include <string>
#include <vector>

// Whether a COM port can be opened right now: its device is opened
// exclusively and closed at once. Ports in use by anyone fail.
class PortProbe {
public:
    static bool CanOpen(int comNumber);
    // "COM%d" names of the mapped ports that open now, ascending.
    static std::vector<std::pair<int, std::string>> FreePorts();
};
