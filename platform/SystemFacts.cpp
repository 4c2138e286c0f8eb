#include "SystemFacts.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace platform {

namespace {
std::uint32_t ToKb(unsigned long units, unsigned int unitSize)
{
    std::uint64_t bytes = static_cast<std::uint64_t>(units) * unitSize;
    return static_cast<std::uint32_t>(bytes >> 10);
}
} // namespace

std::string OsVersionText()
{
    utsname name{};
    if (uname(&name) != 0)
        return {};
    return std::string("Linux ") + name.release;
}

std::uint32_t PhysicalMemoryKb()
{
    struct sysinfo info{};
    if (sysinfo(&info) != 0)
        return 0;
    return ToKb(info.totalram, info.mem_unit);
}

std::uint32_t AvailableMemoryKb()
{
    struct sysinfo info{};
    if (sysinfo(&info) != 0)
        return 0;
    return ToKb(info.freeram, info.mem_unit);
}

} // namespace platform
