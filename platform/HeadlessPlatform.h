#pragma once
#include <QApplication>

#include <memory>

namespace platform {

// The program's application object, on the display the environment names
// when one can be opened, else offscreen; windows are kept inside the screen.
// The toolkit's notes about displays it could not open stay off standard
// error, and so do its minor notes for the whole of an offscreen run.
std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);

// True when the running application's platform is offscreen.
bool IsHeadless();

// True when the application runs offscreen only because no display could be
// opened, not because the user chose offscreen.
bool IsDisplayMissing();

} // namespace platform
