#include "FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
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
