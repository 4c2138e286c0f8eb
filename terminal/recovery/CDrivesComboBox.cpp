#include "CDrivesComboBox.h"

#include "CDirItemDelegate.h"

#include <QStorageInfo>

#include <algorithm>
#include <vector>

namespace {
int DriveTypeOf(const QStorageInfo& volume)
{
    const QByteArray type = volume.fileSystemType();
    const QString root = volume.rootPath();
    if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type.startsWith("fuse.sshfs"))
        return CDrivesComboBox::kRemote;
    if (type == "tmpfs" || type == "ramfs")
        return CDrivesComboBox::kRamDisk;
    if (type == "iso9660" || type == "udf")
        return CDrivesComboBox::kCdRom;
    if (root.startsWith("/media/") || root.startsWith("/run/media/"))
        return CDrivesComboBox::kRemovable;
    return volume.device().startsWith("/dev/") ? CDrivesComboBox::kFixed : CDrivesComboBox::kUnknown;
}

// Icon cell of each kind; kinds without one draw no icon.
int CellOfType(int type)
{
    switch (type) {
    case CDrivesComboBox::kRemovable:
        return 3;
    case CDrivesComboBox::kFixed:
        return 4;
    case CDrivesComboBox::kCdRom:
        return 5;
    case CDrivesComboBox::kRemote:
        return 6;
    case CDrivesComboBox::kRamDisk:
        return 7;
    default:
        return -1;
    }
}

bool Holds(const std::string& root, const std::string& path)
{
    if (root == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}
} // namespace

CDrivesComboBox::CDrivesComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new CDirItemDelegate([this](const QModelIndex& index, bool) { return CellOf(index); }, this));
}

std::pair<int, int> CDrivesComboBox::CellOf(const QModelIndex& index) const
{
    if (!index.isValid())
        return {-1, 0};
    return {CellOfType(index.data(Qt::UserRole).toInt()), 0};
}

void CDrivesComboBox::FillDrives()
{
    clear();
    std::vector<std::pair<QString, int>> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid())
            drives.emplace_back(volume.rootPath(), DriveTypeOf(volume));
    }
    std::sort(drives.begin(), drives.end());
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 drives.end());
    for (const auto& [root, type] : drives)
        addItem(root, type);
}

void CDrivesComboBox::SelectDrive(const std::string& path)
{
    int best = -1;
    std::size_t bestLength = 0;
    for (int row = 0; row < count(); ++row) {
        const std::string root = itemText(row).toStdString();
        if (Holds(root, path) && (best < 0 || root.size() > bestLength)) {
            best = row;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}
