#pragma once

// File texts shown both by the platform (the help page) and by the programs'
// runs, exactly as shown.
namespace platform {

inline const char* const kMsgCannotOpenFile = "Cannot open file %s."; // 2000

} // namespace platform
