#pragma once
#include <string>

namespace platform {

// Where the program's help page lies: help/<executable>.html beside the
// executable, else <executable>.html beside it (the build tree's copy).
std::string HelpPagePath();

// Opens the help page with the desktop's browser; false when it is missing or
// cannot be opened.
bool OpenHelpPage();

} // namespace platform
