#include "PortProbe.h"

#include "Format.h"
#include "PortCatalog.h"

#include <dirent.h>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// The device node of every pseudo-terminal master (/dev/ptmx and each
// devpts instance's ptmx).
const dev_t kPtyMultiplexer = makedev(5, 2);

// The slave of the pseudo-terminal master open as that descriptor: the
// kernel names its index in the descriptor's fdinfo.
std::optional<dev_t> SlaveOfMaster(const std::string& pid, const char* fd)
{
    std::ifstream info("/proc/" + pid + "/fdinfo/" + fd);
    const std::string key = "tty-index:";
    std::string line;
    while (std::getline(info, line)) {
        unsigned index = 0;
        if (line.rfind(key, 0) != 0 || !(std::istringstream(line.substr(key.size())) >> index))
            continue;
        struct stat slave {};
        if (::stat(("/dev/pts/" + std::to_string(index)).c_str(), &slave) != 0 || !S_ISCHR(slave.st_mode))
            return std::nullopt;
        return slave.st_rdev;
    }
    return std::nullopt;
}

// The devices one process holds open, by device number, except the slave of
// a pseudo-terminal whose master it holds too: that is its own end of a
// virtual cable (a socat pair, a serial-over-network bridge, a simulator),
// left for a terminal program to use.
std::set<dev_t> DevicesHeldBy(const std::string& pid)
{
    std::set<dev_t> devices;
    std::set<dev_t> ownSlaves;
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* fds = ::opendir(fdDir.c_str());
    if (fds == nullptr)
        return devices;
    while (dirent* fd = ::readdir(fds)) {
        struct stat info {};
        if (fd->d_name[0] == '.' || ::stat((fdDir + "/" + fd->d_name).c_str(), &info) != 0 || !S_ISCHR(info.st_mode))
            continue;
        devices.insert(info.st_rdev);
        if (info.st_rdev != kPtyMultiplexer)
            continue;
        if (const std::optional<dev_t> slave = SlaveOfMaster(pid, fd->d_name))
            ownSlaves.insert(*slave);
    }
    ::closedir(fds);
    for (dev_t slave : ownSlaves)
        devices.erase(slave);
    return devices;
}

// Devices open in other processes, by device number. Processes of other
// users stay hidden unless we may look at them.
std::set<dev_t> DevicesOpenElsewhere()
{
    std::set<dev_t> devices;
    const std::string self = std::to_string(::getpid());
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr)
        return devices;
    while (dirent* process = ::readdir(proc)) {
        const std::string pid = process->d_name;
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        devices.merge(DevicesHeldBy(pid));
    }
    ::closedir(proc);
    return devices;
}

// File locks by the node they lock ("major:minor:inode" as the kernel lists
// them), this process's own included: an open port of ours holds one.
std::set<std::string> LockedNodes()
{
    std::set<std::string> nodes;
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 6 && fields >> field; ++i) {
        }
        // "1: FLOCK ADVISORY WRITE 123 00:05:87 0 EOF"; a blocked waiter has "->" first.
        if (field.find(':') != std::string::npos)
            nodes.insert(field);
    }
    return nodes;
}

std::string NodeKey(const struct stat& node)
{
    return platform::Format("%02x:%02x:%lu", major(node.st_dev), minor(node.st_dev),
                            static_cast<unsigned long>(node.st_ino));
}

class Probe {
public:
    bool IsFree(const std::string& devicePath)
    {
        struct stat node {};
        if (devicePath.empty() || ::stat(devicePath.c_str(), &node) != 0 || !S_ISCHR(node.st_mode) ||
            ::access(devicePath.c_str(), R_OK | W_OK) != 0)
            return false;
        return !IsHeld(node);
    }

    // Open in another process (other than as its own virtual cable end), or locked.
    bool IsHeld(const struct stat& node)
    {
        // Every process's open files are looked through only once a port
        // could be used at all, and then once for all ports.
        if (!m_scanned) {
            m_openElsewhere = DevicesOpenElsewhere();
            m_locked = LockedNodes();
            m_scanned = true;
        }
        return m_openElsewhere.count(node.st_rdev) || m_locked.count(NodeKey(node));
    }

private:
    bool m_scanned = false;
    std::set<dev_t> m_openElsewhere;
    std::set<std::string> m_locked;
};

} // namespace

bool PortProbe::IsHeldElsewhere(const std::string& devicePath)
{
    struct stat node {};
    return ::stat(devicePath.c_str(), &node) == 0 && S_ISCHR(node.st_mode) && Probe().IsHeld(node);
}

bool PortProbe::CanOpen(int comNumber)
{
    return Probe().IsFree(platform::PortCatalog::DevicePath(comNumber));
}

std::vector<std::pair<int, std::string>> PortProbe::FreePorts()
{
    Probe probe;
    std::vector<std::pair<int, std::string>> ports;
    for (const auto& [number, device] : platform::PortCatalog::Ports()) {
        if (probe.IsFree(device))
            ports.emplace_back(number, platform::Format("COM%d", number));
    }
    return ports;
}
