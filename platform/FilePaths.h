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

} // namespace platform
