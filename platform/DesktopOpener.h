#pragma once
#include <functional>
#include <string>

namespace platform {

// Hands a file to the desktop's application for its type without waiting;
// false when no application could be started.
using FileOpener = std::function<bool(const std::string& path)>;

// "No application found to open the file %s."
extern const char* const kMsgNoApplication;

// Opens the file with the installed opener: by default the desktop's
// (xdg-open), else a browser of $BROWSER (a list of commands split by ':'),
// else x-www-browser.
bool OpenWithDesktop(const std::string& path);

// Puts an opener in place of the desktop's (tests); an empty one restores
// the desktop's. Returns the opener it replaces.
FileOpener SetFileOpener(FileOpener opener);

} // namespace platform
