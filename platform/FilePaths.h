#pragma once
#include <string>

namespace platform {

// Lexical absolute path: relative names are joined to the current directory,
// "." and ".." are folded; symbolic links are not resolved; a trailing "/"
// stays, since it says the name is a folder. Empty on failure.
std::string FullPath(const std::string& name);

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
