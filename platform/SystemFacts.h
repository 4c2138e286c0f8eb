#pragma once
#include <cstdint>
#include <string>

namespace platform {

// "Linux <release>" from uname; empty when uname fails.
std::string OsVersionText();

// Physical memory in KB, truncated to 32 bits as the About box shows it.
std::uint32_t PhysicalMemoryKb();
std::uint32_t AvailableMemoryKb();

} // namespace platform
