#include "FileDialogFilters.h"

namespace platform {

namespace {
// "*.*" matches every name on Windows; Qt's "*.*" would need a point.
QString LinuxPatterns(QString patterns)
{
    QStringList list = patterns.split(';', Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == "*.*")
            pattern = "*";
    }
    return list.join(' ');
}
} // namespace

QStringList NameFiltersFromTable(const std::string& table)
{
    QStringList parts = QString::fromStdString(table).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString description = parts[i];
        const qsizetype open = description.indexOf('(');
        if (open >= 0)
            description = description.left(open).trimmed();
        filters << description + " (" + LinuxPatterns(parts[i + 1]) + ")";
    }
    return filters;
}

std::string DirectoryOfName(const std::string& name)
{
    std::size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : name.substr(0, slash);
}

} // namespace platform
