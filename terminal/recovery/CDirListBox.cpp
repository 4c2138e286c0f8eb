#include "CDirListBox.h"

#include "CDirItemDelegate.h"
#include "Messages.h"
#include "resource.h"

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <unistd.h>
#include <vector>

using namespace parlim;

namespace {
constexpr int kSubDirectoryCell = 2;
constexpr int kSelectedLevelCell = 1;
constexpr int kLevelCell = 0;
} // namespace

CDirListBox::CDirListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new CDirItemDelegate(
        [this](const QModelIndex& index, bool selected) { return CellOf(index, selected); }, this));
}

std::pair<int, int> CDirListBox::CellOf(const QModelIndex& index, bool selected) const
{
    if (!index.isValid())
        return {-1, 0};
    const int level = index.data(Qt::UserRole).toInt();
    if (level < 0)
        return {kSubDirectoryCell, -level};
    return {selected ? kSelectedLevelCell : kLevelCell, level};
}

void CDirListBox::AddItem(const std::string& text, int level)
{
    auto* item = new QListWidgetItem(QString::fromStdString(text), this);
    item->setData(Qt::UserRole, level);
}

bool CDirListBox::EnterDirectory(const std::string& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool entered = !path.empty() && ::chdir(path.c_str()) == 0;
    QApplication::restoreOverrideCursor();
    if (!entered) {
        std::string text = LoadResString(IDS_CANNOT_CHANGE_DIRECTORY);
        text.replace(text.find("%1"), 2, path);
        platform::ShowMessage(text, platform::MB_OK);
    }
    return entered;
}

bool CDirListBox::Fill(const std::string& requested)
{
    if (!EnterDirectory(requested))
        return false;
    std::string path = requested;
    if (path.back() != '/')
        path += '/';
    clear();
    int level = 0;
    std::size_t start = 0;
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', start)) {
        std::string piece = path.substr(start, slash - start);
        if (level == 0)
            AddItem(piece + "/", level++);
        else if (!piece.empty())
            AddItem(piece, level++);
        start = slash + 1;
    }
    const int lastLevel = count() - 1;
    std::vector<std::string> names;
    const QStringList entries = QDir(QString::fromStdString(path)).entryList(QDir::Dirs | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (!entry.startsWith('.'))
            names.push_back(entry.toStdString());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        AddItem(name, -level);
    setCurrentRow(lastLevel);
    return true;
}

bool CDirListBox::GetSelectedPath(std::string& path) const
{
    path.clear();
    const int selected = currentRow();
    if (selected < 0 || !item(selected)->isSelected())
        return false;
    for (int row = 0; row < count(); ++row) {
        const bool isLevel = item(row)->data(Qt::UserRole).toInt() >= 0;
        if (!isLevel && row != selected)
            continue;
        path += item(row)->text().toStdString();
        if (row == selected)
            break;
        if (path.back() != '/')
            path += '/';
    }
    return true;
}

void CDirListBox::GetCurrentPath(std::string& path) const
{
    path.clear();
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(Qt::UserRole).toInt() < 0)
            continue;
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += item(row)->text().toStdString();
    }
}
