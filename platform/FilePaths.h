#pragma once
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

// Absolute path: a relative name is joined to the current directory (of any
// length); "." and ".." stay for the system to resolve, as a symbolic link
// before a ".." leads elsewhere than the text says. Empty on failure.
std::string FullPath(const std::string& name);

// The name with the folders before its last part resolved by the system
// (the last part too when it is "." or ".."), for code that would fold
// "." and ".." as text, such as the file dialog; otherwise, or when they do
// not resolve, the name itself.
std::string ResolveDotFolders(const std::string& name);

// open(2) and stat(2) (lstat with followLinks clear) of a name of any length:
// a name longer than the system takes in one call is reached folder by
// folder. -1 with errno set on failure, as the calls themselves.
int OpenName(const std::string& name, int flags, mode_t mode = 0);
int StatName(const std::string& name, struct stat* st, bool followLinks = true);

// True when both names exist and are the same file (device and inode).
bool SameFile(const std::string& a, const std::string& b);

// True when something exists under the name (stat, not an open for reading).
bool PathExists(const std::string& name);

// What a name stands for (stat, following links).
enum class PathKind {
    Missing,
    RegularFile,
    Stream, // a FIFO or a character device
    Other,  // a folder, a block device, a socket
};
PathKind KindOfPath(const std::string& name);

// The descriptor a name stands for in this process: 1 for /dev/stdout, 2 for
// /dev/stderr, N for /dev/fd/N and /proc/self/fd/N; -1 for any other name.
int InheritedDescriptor(const std::string& name);

} // namespace platform
