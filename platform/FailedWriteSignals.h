#pragma once

namespace platform {

// A reader that went away (EPIPE) or a file-size limit (EFBIG) makes a write
// fail like a full disk does, reported as such, instead of killing the
// program halfway through an ensemble.
void LetFailedWritesReturn();

} // namespace platform
