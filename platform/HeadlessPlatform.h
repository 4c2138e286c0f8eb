#pragma once

namespace platform {

// Call before the QApplication exists: with neither DISPLAY nor WAYLAND_DISPLAY
// set it chooses QT_QPA_PLATFORM=offscreen. True when the program will run
// without a user (offscreen chosen here or by the user).
bool PrepareHeadlessPlatform();

// True when the running application's platform is offscreen.
bool IsHeadless();

} // namespace platform
