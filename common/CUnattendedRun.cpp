#include "CUnattendedRun.h"

#include "IProgress.h"
#include "Messages.h"
#include "OutOfMemory.h"
#include "StreamWait.h"

void CUnattendedRun::RunWithProgress(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run)
{
    NullProgress progress;
    const StreamWait waits(progress);
    m_bEndedNormally = RunUnlessOutOfMemory([&] { return open() && run(progress); });
}

int CUnattendedRun::ExitStatus() const
{
    return m_bEndedNormally && platform::MessagesShown() == 0 ? 0 : 1;
}
