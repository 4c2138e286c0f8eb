#include "FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

std::string FullPath(const std::string& name)
{
    if (name.empty())
        return {};
    std::string joined;
    if (name.front() == '/') {
        joined = name;
    } else {
        std::vector<char> cwd(4096);
        if (!getcwd(cwd.data(), cwd.size()))
            return {};
        joined = std::string(cwd.data()) + "/" + name;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t slash = joined.find('/', start);
        if (slash == std::string::npos)
            slash = joined.size();
        std::string part = joined.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    if (result.empty() || name.back() == '/')
        result += '/';
    return result;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool PathExists(const std::string& name)
{
    struct stat st {};
    return !name.empty() && stat(name.c_str(), &st) == 0;
}

PathKind KindOfPath(const std::string& name)
{
    struct stat st {};
    if (name.empty() || stat(name.c_str(), &st) != 0)
        return PathKind::Missing;
    if (S_ISREG(st.st_mode))
        return PathKind::RegularFile;
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
        return PathKind::Stream;
    return PathKind::Other;
}

} // namespace platform
