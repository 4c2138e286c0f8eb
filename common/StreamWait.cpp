#include "StreamWait.h"

#include "IProgress.h"

#include <cerrno>
#include <poll.h>

namespace {
// Short enough that the progress window answers at once.
constexpr int kSliceMilliseconds = 10;
// The whole wait when nobody can end it.
constexpr int kBoundedWaitMilliseconds = 5000;

StreamWait* g_current = nullptr;
} // namespace

StreamWait::StreamWait(IProgress& progress)
    : m_progress(progress)
    , m_previous(g_current)
{
    g_current = this;
}

StreamWait::~StreamWait()
{
    g_current = m_previous;
}

HRESULT StreamWait::Cancelled()
{
    g_current->m_bCancelled = true;
    return HResultFromErrno(ECANCELED);
}

bool StreamWait::WasCancelled()
{
    return g_current && g_current->m_bCancelled;
}

HRESULT StreamWait::UntilReady(int fd, short events, short* reported)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, g_current ? kSliceMilliseconds : kBoundedWaitMilliseconds);
        if (ready > 0) {
            *reported = entry.revents;
            return S_OK;
        }
        if (ready < 0 && errno != EINTR)
            return HResultFromErrno(errno);
        if (ready == 0 && !g_current)
            return HResultFromErrno(ETIMEDOUT);
        if (ready == 0 && !g_current->m_progress.Pump())
            return Cancelled();
    }
}

HRESULT StreamWait::Pause()
{
    if (!g_current)
        return HResultFromErrno(ETIMEDOUT);
    ::poll(nullptr, 0, kSliceMilliseconds);
    return g_current->m_progress.Pump() ? S_OK : Cancelled();
}
