#pragma once

namespace platform {

// True when the platform the toolkit would start on can reach its display:
// the entries of QT_QPA_PLATFORM in order (else Wayland then X11 in a Wayland
// session, X11 otherwise); "offscreen" first, or no display answering, is
// none. Only the display's socket is connected, so no toolkit starts for it;
// a platform this does not know is left to the toolkit (true).
bool DisplayCanBeOpened();

} // namespace platform
