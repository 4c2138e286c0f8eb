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

// True when something other than a regular file (a folder, a device, a
// FIFO) exists under the name.
bool IsNonRegularFile(const std::string& name);

} // namespace platform
