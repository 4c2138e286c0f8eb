#pragma once
#include <string>

namespace platform {

// Where the program's help page lies: help/<executable>.html beside the
// executable, else <executable>.html beside it (the build tree's copy).
std::string HelpPagePath();

// Opens the help page with the desktop opener. A missing page is reported as
// "Cannot open file %s.", a page that nothing could show as a missing
// application.
void ShowHelpPage();

} // namespace platform
