#include "FailedWriteSignals.h"

#include <csignal>

namespace platform {

void LetFailedWritesReturn()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace platform
