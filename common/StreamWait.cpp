#include "StreamWait.h"

#include "IProgress.h"

#include <cerrno>
#include <poll.h>

namespace {
// Short enough that the progress window answers at once.
constexpr int kSliceMilliseconds = 10;
// The whole wait when nobody can end it.
constexpr int kBoundedWaitMilliseconds = 5000;

IProgress* g_progress = nullptr;

HRESULT Cancelled()
{
    return HResultFromErrno(ECANCELED);
}
} // namespace

StreamWait::StreamWait(IProgress& progress) : m_previous(g_progress)
{
    g_progress = &progress;
}

StreamWait::~StreamWait()
{
    g_progress = m_previous;
}

HRESULT StreamWait::UntilReady(int fd, short events, short* reported)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, g_progress ? kSliceMilliseconds : kBoundedWaitMilliseconds);
        if (ready > 0) {
            *reported = entry.revents;
            return S_OK;
        }
        if (ready < 0 && errno != EINTR)
            return HResultFromErrno(errno);
        if (ready == 0 && !g_progress)
            return HResultFromErrno(ETIMEDOUT);
        if (ready == 0 && !g_progress->Pump())
            return Cancelled();
    }
}

HRESULT StreamWait::Pause()
{
    if (!g_progress)
        return HResultFromErrno(ETIMEDOUT);
    ::poll(nullptr, 0, kSliceMilliseconds);
    return g_progress->Pump() ? S_OK : Cancelled();
}
