#include "FilePaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

namespace {

std::string CurrentDirectory()
{
    // Allocated to fit: a working folder may be deeper than any fixed buffer.
    const std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

bool HasDotPart(const std::string& name)
{
    for (std::size_t start = 0; start <= name.size();) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        const std::size_t length = end - start;
        if ((length == 1 || length == 2) && name.compare(start, length, std::string(length, '.')) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Calls `call(folder, rest)` with the whole name, or, when the name is too
// long for one system call, with the folder that its leading parts lead to
// (opened in steps each short enough) and the part of the name after them.
template <typename Call>
int AtAnyLength(const std::string& name, Call call)
{
    const int result = call(AT_FDCWD, name.c_str());
    if (result >= 0 || errno != ENAMETOOLONG)
        return result;
    int folder = AT_FDCWD;
    std::size_t start = 0;
    while (name.size() - start >= PATH_MAX) {
        const std::size_t slash = name.rfind('/', start + PATH_MAX - 2);
        // A step of "/" alone would restart at the root.
        if (slash == std::string::npos || slash < start || (slash == start && start != 0)) {
            errno = ENAMETOOLONG;
            break;
        }
        const std::string step = name.substr(start, slash + 1 - start);
        const int next = ::openat(folder, step.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder != AT_FDCWD)
            ::close(folder);
        folder = next;
        if (folder < 0)
            return -1;
        start = slash + 1;
    }
    const int outcome = name.size() - start < PATH_MAX ? call(folder, name.c_str() + start) : -1;
    const int error = errno;
    if (folder != AT_FDCWD)
        ::close(folder);
    errno = error;
    return outcome;
}

} // namespace

std::string FullPath(const std::string& name)
{
    if (name.empty() || name.front() == '/')
        return name;
    const std::string cwd = CurrentDirectory();
    if (cwd.empty())
        return {};
    return cwd.back() == '/' ? cwd + name : cwd + "/" + name;
}

std::string ResolveDotFolders(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    const bool lastIsFolder = last.empty() || last == "." || last == "..";
    const std::string folders = lastIsFolder ? name : name.substr(0, slash == std::string::npos ? 0 : slash + 1);
    if (!HasDotPart(folders))
        return name;
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(folders.c_str(), nullptr), &std::free);
    if (!real)
        return name;
    const std::string resolved = real.get();
    if (lastIsFolder)
        return resolved;
    return resolved.back() == '/' ? resolved + last : resolved + "/" + last;
}

int OpenName(const std::string& name, int flags, mode_t mode)
{
    return AtAnyLength(name,
                       [flags, mode](int folder, const char* rest) { return ::openat(folder, rest, flags, mode); });
}

int StatName(const std::string& name, struct stat* st, bool followLinks)
{
    const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
    return AtAnyLength(name,
                       [st, flags](int folder, const char* rest) { return ::fstatat(folder, rest, st, flags); });
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (StatName(a, &sa) != 0 || StatName(b, &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool PathExists(const std::string& name)
{
    struct stat st {};
    return !name.empty() && StatName(name, &st) == 0;
}

PathKind KindOfPath(const std::string& name)
{
    struct stat st {};
    if (name.empty() || StatName(name, &st) != 0)
        return PathKind::Missing;
    if (S_ISREG(st.st_mode))
        return PathKind::RegularFile;
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
        return PathKind::Stream;
    return PathKind::Other;
}

int InheritedDescriptor(const std::string& name)
{
    if (name == "/dev/stdout")
        return 1;
    if (name == "/dev/stderr")
        return 2;
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (std::string_view(name).substr(0, folder.size()) != folder)
            continue;
        const std::string digits = name.substr(folder.size());
        // As the system names them: decimal, no sign, no leading zero.
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos
            || (digits.size() > 1 && digits.front() == '0'))
            return -1;
        return std::stoi(digits);
    }
    return -1;
}

} // namespace platform
