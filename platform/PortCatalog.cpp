#include "PortCatalog.h"

#include <QSettings>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string_view>

namespace platform {

namespace fs = std::filesystem;

namespace {

const char* const kGroup = "Port Map";

std::mutex g_rootLock;
std::string g_systemRoot;

std::string SystemRoot()
{
    std::lock_guard<std::mutex> guard(g_rootLock);
    return g_systemRoot;
}

QSettings Store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "QSV", "Parlim");
}

QString Key(int comPort)
{
    return QStringLiteral("%1/COM%2").arg(kGroup).arg(comPort);
}

bool IsValidPort(int comPort)
{
    return comPort >= PortCatalog::kFirstPort && comPort <= PortCatalog::kLastPort;
}

// The run of digits that starts at from, without its leading zeros.
std::string_view DigitRun(const std::string& text, std::size_t from)
{
    std::string_view run(text);
    run = run.substr(from, text.find_first_not_of("0123456789", from) - from);
    while (run.size() > 1 && run.front() == '0')
        run.remove_prefix(1);
    return run;
}

// Sorts "ttyS2" before "ttyS10". Digit runs compare by length, then by
// text, so the long serial numbers of by-id names cannot overflow.
bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t da = a.find_first_of("0123456789"), db = b.find_first_of("0123456789");
    if (da == std::string::npos || db == std::string::npos || a.compare(0, da, b, 0, db) != 0)
        return a < b;
    std::string_view na = DigitRun(a, da), nb = DigitRun(b, db);
    if (na.size() != nb.size())
        return na.size() < nb.size();
    if (na != nb)
        return na < nb;
    return a < b;
}

std::vector<std::string> Entries(const fs::path& dir, const std::string& prefix)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && name.size() > prefix.size())
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

// Standard UART slots exist whether or not a chip sits behind them; the
// kernel reports type 0 for an empty one.
bool IsPresentUart(const std::string& root, const std::string& name)
{
    std::ifstream type(root + "/sys/class/tty/" + name + "/type");
    int value = 0;
    return type >> value && value != 0;
}

std::vector<std::string> FoundDevices()
{
    std::string root = SystemRoot();
    fs::path dev = root + "/dev";
    std::vector<std::string> found;
    for (const std::string& name : Entries(dev, "ttyS")) {
        if (IsPresentUart(root, name))
            found.push_back((dev / name).string());
    }
    // USB adapters by their by-id link, so a replug keeps its number.
    std::set<std::string> linked;
    fs::path byId = dev / "serial" / "by-id";
    for (const std::string& name : Entries(byId, "")) {
        std::error_code error;
        fs::path target = fs::canonical(byId / name, error);
        if (!error)
            linked.insert(target.filename().string());
        found.push_back((byId / name).string());
    }
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        for (const std::string& name : Entries(dev, prefix)) {
            if (!linked.count(name))
                found.push_back((dev / name).string());
        }
    }
    return found;
}

std::vector<std::pair<int, std::string>> Mapped()
{
    std::vector<std::pair<int, std::string>> ports;
    QSettings store = Store();
    for (int port = PortCatalog::kFirstPort; port <= PortCatalog::kLastPort; ++port) {
        QString path = store.value(Key(port)).toString();
        if (!path.isEmpty())
            ports.emplace_back(port, path.toStdString());
    }
    return ports;
}

} // namespace

void PortCatalog::Scan()
{
    std::vector<std::pair<int, std::string>> mapped = Mapped();
    std::set<int> used;
    std::set<std::string> known;
    for (const auto& [port, path] : mapped) {
        used.insert(port);
        known.insert(path);
    }
    int next = kFirstPort;
    for (const std::string& device : FoundDevices()) {
        if (known.count(device))
            continue;
        while (next <= kLastPort && used.count(next))
            ++next;
        if (next > kLastPort)
            return;
        SetMapping(next, device);
        used.insert(next);
    }
}

std::string PortCatalog::DevicePath(int comPort)
{
    if (!IsValidPort(comPort))
        return {};
    Scan();
    return Store().value(Key(comPort)).toString().toStdString();
}

int PortCatalog::ComNumber(const std::string& devicePath)
{
    for (const auto& [port, path] : Ports()) {
        if (path == devicePath)
            return port;
    }
    return 0;
}

std::vector<std::pair<int, std::string>> PortCatalog::Ports()
{
    Scan();
    return Mapped();
}

void PortCatalog::SetMapping(int comPort, const std::string& devicePath)
{
    if (IsValidPort(comPort))
        Store().setValue(Key(comPort), QString::fromStdString(devicePath));
}

void PortCatalog::RemoveMapping(int comPort)
{
    if (IsValidPort(comPort))
        Store().remove(Key(comPort));
}

void PortCatalog::SetSystemRoot(const std::string& root)
{
    std::lock_guard<std::mutex> guard(g_rootLock);
    g_systemRoot = root;
}

} // namespace platform
