#pragma once
#include <QStringList>

#include <string>

namespace platform {

// "All Files (*.*)|*.*||" style tables to Qt name filters; "*.*" becomes "*".
QStringList NameFiltersFromTable(const std::string& table);

// Directory part of a stored file name ("" when the name has none).
std::string DirectoryOfName(const std::string& name);

} // namespace platform
