#include "CBaseFile.h"

#include "FilePaths.h"
#include "StreamWait.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFifo(const std::string& name)
{
    struct stat st {};
    return platform::StatName(name, &st) == 0 && S_ISFIFO(st.st_mode);
}

// Opens without blocking; a FIFO opened for writing waits for its reader, as
// the shell's redirection does, but in slices so the wait can end.
int OpenWaitingForReader(const std::string& name, int flags, HRESULT* failure)
{
    for (;;) {
        const int fd = platform::OpenName(name, flags, 0666);
        if (fd >= 0)
            return fd;
        const int error = errno;
        *failure = HResultFromErrno(error);
        if (error != ENXIO || (flags & O_ACCMODE) == O_RDONLY || !IsFifo(name))
            return -1;
        if (FAILED(StreamWait::Pause()))
            return -1;
    }
}

} // namespace

CBaseFile::~CBaseFile()
{
    CloseHandle();
}

void CBaseFile::Close()
{
    CloseHandle();
}

HRESULT CBaseFile::CloseChecked()
{
    if (m_hFile < 0)
        return E_FAIL;
    const HRESULT result = CloseHandle();
    Close();
    return result;
}

HRESULT CBaseFile::CloseHandle()
{
    HRESULT result = S_OK;
    if (m_hFile >= 0 && ::close(m_hFile) != 0)
        result = HResultFromErrno(errno);
    m_hFile = -1;
    m_bStream = false;
    m_bFifo = false;
    m_bBlockingStream = false;
    m_strPath.clear();
    return result;
}

HRESULT CBaseFile::OpenHandle(const std::string& name, Disposition disposition)
{
    // Without O_NONBLOCK, opening a FIFO would wait for its other end in a
    // call that nothing but a signal ends.
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (disposition) {
    case Disposition::OpenExisting: flags |= O_RDONLY; break;
    case Disposition::CreateAlways: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case Disposition::CreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    case Disposition::OpenAlways: flags |= O_WRONLY | O_CREAT; break;
    }
    HRESULT failure = S_OK;
    const int fd = OpenWaitingForReader(name, flags, &failure);
    if (fd < 0)
        return failure;
    const HRESULT taken = TakeDescriptor(fd, name);
    // A regular file of our own blocks as usual; a stream waits through poll.
    if (SUCCEEDED(taken) && !m_bStream)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return taken;
}

HRESULT CBaseFile::AdoptInherited(int descriptor, const std::string& name)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0)
        return HResultFromErrno(errno);
    if ((flags & O_ACCMODE) == O_RDONLY)
        return HResultFromErrno(EBADF);
    const int fd = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return HResultFromErrno(errno);
    const HRESULT taken = TakeDescriptor(fd, name);
    m_bBlockingStream = SUCCEEDED(taken) && m_bStream && (flags & O_NONBLOCK) == 0;
    return taken;
}

HRESULT CBaseFile::TakeDescriptor(int fd, const std::string& name)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        // A directory is never a file of ours, and the message says why.
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return HResultFromErrno(error);
    }
    m_bStream = !S_ISREG(st.st_mode);
    m_bFifo = S_ISFIFO(st.st_mode);
    m_hFile = fd;
    m_strPath = platform::FullPath(name);
    if (m_strPath.empty()) {
        Close();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CBaseFile::Open(std::string name)
{
    Close();
    return OpenHandle(name, Disposition::OpenExisting);
}

HRESULT CBaseFile::Create(std::string name, bool overwrite)
{
    Close();
    if (const int inherited = platform::InheritedDescriptor(name); inherited >= 0)
        return AdoptInherited(inherited, name);
    return OpenHandle(name, overwrite ? Disposition::CreateAlways : Disposition::CreateNew);
}

HRESULT CBaseFile::OpenAppend(std::string name)
{
    Close();
    return OpenHandle(name, Disposition::OpenAlways);
}

HRESULT CBaseFile::Read(void* buffer, std::uint32_t count, std::uint32_t* read)
{
    if (m_hFile < 0)
        return E_FAIL;
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t total = 0;
    HRESULT result = S_OK;
    // A regular file may still return short counts; keep going until the end.
    while (total < count && SUCCEEDED(result)) {
        ssize_t n = ::read(m_hFile, bytes + total, count - total);
        if (n < 0) {
            result = AfterFailedTransfer(POLLIN);
            continue;
        }
        if (n == 0) {
            bool atEnd = true;
            result = AtEndOfStream(&atEnd);
            if (atEnd)
                break;
            continue;
        }
        total += static_cast<std::uint32_t>(n);
    }
    // After a failure too: the bytes that arrived before it are in the buffer.
    if (read)
        *read = total;
    return result;
}

HRESULT CBaseFile::Write(const void* buffer, std::uint32_t count, std::uint32_t* written)
{
    if (m_hFile < 0)
        return E_FAIL;
    const auto* bytes = static_cast<const char*>(buffer);
    std::uint32_t total = 0;
    while (total < count) {
        std::uint32_t chunk = count - total;
        if (m_bBlockingStream) {
            // Room first, so that a stalled reader's wait can be cancelled;
            // then no more than the stream surely takes at once.
            short reported = 0;
            if (HRESULT ready = StreamWait::UntilReady(m_hFile, POLLOUT, &reported); FAILED(ready))
                return ready;
            chunk = std::min<std::uint32_t>(chunk, PIPE_BUF);
        }
        ssize_t n = ::write(m_hFile, bytes + total, chunk);
        if (n < 0) {
            HRESULT retry = AfterFailedTransfer(POLLOUT);
            if (FAILED(retry))
                return retry;
            continue;
        }
        total += static_cast<std::uint32_t>(n);
    }
    if (written)
        *written = total;
    return S_OK;
}

HRESULT CBaseFile::AfterFailedTransfer(short events) const
{
    if (errno == EINTR)
        return S_OK;
    if (errno != EAGAIN)
        return HResultFromErrno(errno);
    short reported = 0;
    return StreamWait::UntilReady(m_hFile, events, &reported);
}

HRESULT CBaseFile::AtEndOfStream(bool* atEnd) const
{
    *atEnd = true;
    if (!m_bFifo)
        return S_OK;
    // A FIFO reads as empty until a writer opens it; poll reports the hang-up
    // only once a writer has come and gone.
    short reported = 0;
    const HRESULT result = StreamWait::UntilReady(m_hFile, POLLIN, &reported);
    *atEnd = SUCCEEDED(result) && (reported & POLLIN) == 0;
    return result;
}

HRESULT CBaseFile::Seek(std::int64_t offset, int origin, std::uint64_t* newPosition)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (m_hFile < 0 || origin < 0 || origin > 2)
        return E_FAIL;
    off_t position = ::lseek(m_hFile, offset, whence[origin]);
    if (position < 0)
        return E_FAIL;
    if (newPosition)
        *newPosition = static_cast<std::uint64_t>(position);
    return S_OK;
}

std::uint64_t CBaseFile::GetLength() const
{
    struct stat st {};
    if (m_hFile < 0 || ::fstat(m_hFile, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}
