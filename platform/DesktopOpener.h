#pragma once
#include <functional>
#include <string>

namespace platform {

// Hands a file to the desktop's application for its type without waiting;
// false when no application could be started.
using FileOpener = std::function<bool(const std::string& path)>;

// "No application found to open the file %s."
extern const char* const kMsgNoApplication;

// Opens the file with the installed opener (the desktop's by default).
bool OpenWithDesktop(const std::string& path);

// Puts an opener in place of the desktop's (tests); an empty one restores
// the desktop's. Returns the opener it replaces.
FileOpener SetFileOpener(FileOpener opener);

} // namespace platform
