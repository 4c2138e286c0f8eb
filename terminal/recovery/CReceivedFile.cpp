#include "CReceivedFile.h"

#include "Format.h"
#include "MiddleElided.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kPartialNames = 100;
constexpr std::size_t kCompareChunk = 64 * 1024;

// A regular file opened for reading, never through a link; -1 otherwise.
int OpenRegular(const std::string& path, struct stat& info)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The first `bytes` bytes of both files are the same.
bool SameStart(int one, int other, off_t bytes)
{
    std::vector<char> left(kCompareChunk);
    std::vector<char> right(kCompareChunk);
    for (off_t at = 0; at < bytes;) {
        const auto want = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(kCompareChunk), bytes - at));
        const auto expected = static_cast<ssize_t>(want);
        if (::pread(one, left.data(), want, at) != expected || ::pread(other, right.data(), want, at) != expected ||
            std::memcmp(left.data(), right.data(), want) != 0)
            return false;
        at += static_cast<off_t>(want);
    }
    return true;
}

bool IsSameFile(const struct stat& one, const struct stat& other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}
} // namespace

HRESULT CReceivedFile::Create(const std::string& directory, const std::string& name)
{
    m_file.Close();
    m_strPartialPath.clear();
    m_strDirectory = directory;
    m_strName = name;
    m_nLength = 0;
    m_strSyncFailure.clear();
    m_bSynced = false;
    HRESULT result = E_FAIL;
    for (int number = 0; number < kPartialNames; ++number) {
        const std::string path = directory + PartialName(number);
        result = m_file.Create(path, false);
        if (result == HRESULT_FROM_WIN32(ERROR_FILE_EXISTS))
            continue;
        if (result != 0)
            return result;
        struct stat info {};
        ::fstat(m_file.m_hFile, &info);
        m_device = info.st_dev;
        m_inode = info.st_ino;
        m_strPartialPath = path;
        return 0;
    }
    return result;
}

std::string CReceivedFile::PartialName(int number) const
{
    if (number == 0)
        return m_strName + ".part";
    return platform::Format("%s.%d.part", m_strName.c_str(), number);
}

HRESULT CReceivedFile::Write(const void* bytes, std::uint32_t count, std::string& reason)
{
    const HRESULT result = m_file.Write(bytes, count);
    if (result == 0) {
        m_nLength += count;
        return 0;
    }
    reason = ErrnoText(ErrnoFromHResult(result));
    // The part of the block that did get written is no byte of the file;
    // should the cut fail, the file is only longer than the message says.
    [[maybe_unused]] const int cut = ::ftruncate(m_file.m_hFile, m_nLength);
    return result;
}

std::string CReceivedFile::SyncAndClose()
{
    if (!m_file.IsOpen())
        return m_strSyncFailure;
    // A network share or a full quota may report a lost delayed write only here.
    int error = ::fsync(m_file.m_hFile) == 0 ? 0 : errno;
    const HRESULT closed = m_file.CloseChecked();
    if (error == 0 && closed != 0)
        error = ErrnoFromHResult(closed);
    m_bSynced = error == 0;
    m_strSyncFailure = m_bSynced ? std::string() : ErrnoText(error);
    return m_strSyncFailure;
}

std::string CReceivedFile::TakeName()
{
    RemoveOutgrownPartials();
    // The rename replaces whatever has the name, a link included, and
    // never writes through it.
    if (std::rename(m_strPartialPath.c_str(), (m_strDirectory + m_strName).c_str()) != 0)
        return ErrnoText(errno);
    m_strPartialPath.clear();
    return {};
}

std::string CReceivedFile::SyncFolder() const
{
    const std::string folder = m_strDirectory.empty() ? "." : m_strDirectory;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return ErrnoText(errno);
    int error = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 ? std::string() : ErrnoText(error);
}

std::string CReceivedFile::Keep(bool anyBytes)
{
    SyncAndClose();
    std::string kept;
    if (IsPending() && IsStillThere()) {
        if (!anyBytes) {
            ::unlink(m_strPartialPath.c_str());
        } else {
            // Bytes that may not be on disk replace no earlier partial.
            if (m_bSynced) {
                RemoveOutgrownPartials();
                MoveToLowestFreeName();
            }
            kept = m_strPartialPath.substr(m_strDirectory.size());
        }
    }
    m_strPartialPath.clear();
    return kept;
}

void CReceivedFile::MoveToLowestFreeName()
{
    for (int number = 0; number < kPartialNames; ++number) {
        const std::string path = m_strDirectory + PartialName(number);
        if (path == m_strPartialPath)
            return;
        // Never over a name another file took meanwhile.
        if (::renameat2(AT_FDCWD, m_strPartialPath.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            m_strPartialPath = path;
            return;
        }
    }
}

bool CReceivedFile::IsStillThere() const
{
    struct stat info {};
    return ::lstat(m_strPartialPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_dev == m_device &&
           info.st_ino == m_inode;
}

std::string CReceivedFile::LostReason() const
{
    if (!IsPending() || IsStillThere())
        return {};
    std::string gone = m_strDirectory + MiddleElided(m_strPartialPath.substr(m_strDirectory.size()));
    struct stat info {};
    if (::stat(m_strDirectory.c_str(), &info) != 0) {
        gone = m_strDirectory;
        if (gone.size() > 1)
            gone.pop_back();
    }
    return platform::Format("%s was moved or removed during the transfer", gone.c_str());
}

void CReceivedFile::RemoveOutgrownPartials() const
{
    struct stat own {};
    const int whole = OpenRegular(m_strPartialPath, own);
    if (whole < 0)
        return;
    if (own.st_dev != m_device || own.st_ino != m_inode) {
        ::close(whole);
        return;
    }
    for (int number = 0; number < kPartialNames; ++number) {
        const std::string path = m_strDirectory + PartialName(number);
        struct stat info {};
        const int partial = OpenRegular(path, info);
        if (partial < 0)
            continue;
        const bool outgrown =
            !IsSameFile(info, own) && info.st_size <= own.st_size && SameStart(partial, whole, info.st_size);
        ::close(partial);
        if (outgrown)
            ::unlink(path.c_str());
    }
    ::close(whole);
}
