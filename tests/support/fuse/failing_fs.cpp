// A FUSE file system over a backing folder whose reads fail from a given byte
// on, and whose closes of written files, file syncs or folder syncs fail, as
// worn cards and network shares do. Usage: failing_fs BACKING MOUNTPOINT
// [--fail-read-at=N] [--fail-close] [--fail-fsync] [--fail-folder-sync]
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string g_backing;
std::uint64_t g_failReadAt = std::numeric_limits<std::uint64_t>::max();
bool g_failClose = false;
bool g_failFsync = false;
bool g_failFolderSync = false;

std::string Backing(const char* path)
{
    return g_backing + path;
}

int Result(int result)
{
    return result < 0 ? -errno : result;
}

void* Init(fuse_conn_info*, fuse_config* config)
{
    // Every read and every size comes from the backing folder, never a cache,
    // so a failing byte fails the read that reaches it.
    config->direct_io = 1;
    config->attr_timeout = 0;
    config->entry_timeout = 0;
    config->negative_timeout = 0;
    return nullptr;
}

int GetAttr(const char* path, struct stat* status, fuse_file_info*)
{
    return Result(::lstat(Backing(path).c_str(), status));
}

// The handle keeps the descriptor and, above it, whether the file was opened
// for writing: later calls no longer see the open flags.
constexpr std::uint64_t kWrittenFlag = std::uint64_t{1} << 32;

int Descriptor(const fuse_file_info* file)
{
    return static_cast<int>(file->fh & 0xFFFFFFFFu);
}

bool Written(const fuse_file_info* file)
{
    return (file->fh & kWrittenFlag) != 0;
}

int Keep(int descriptor, fuse_file_info* file)
{
    if (descriptor < 0)
        return -errno;
    file->fh = static_cast<std::uint64_t>(descriptor);
    if ((file->flags & O_ACCMODE) != O_RDONLY)
        file->fh |= kWrittenFlag;
    return 0;
}

int Open(const char* path, fuse_file_info* file)
{
    return Keep(::open(Backing(path).c_str(), file->flags), file);
}

int Create(const char* path, mode_t mode, fuse_file_info* file)
{
    return Keep(::open(Backing(path).c_str(), file->flags, mode), file);
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    const std::uint64_t start = static_cast<std::uint64_t>(offset);
    if (start >= g_failReadAt)
        return -EIO;
    size = static_cast<size_t>(std::min<std::uint64_t>(size, g_failReadAt - start));
    return Result(static_cast<int>(::pread(Descriptor(file), buffer, size, offset)));
}

int Write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    return Result(static_cast<int>(::pwrite(Descriptor(file), buffer, size, offset)));
}

int Flush(const char*, fuse_file_info* file)
{
    return g_failClose && Written(file) ? -EIO : 0;
}

int Fsync(const char*, int, fuse_file_info* file)
{
    return g_failFsync ? -EIO : Result(::fsync(Descriptor(file)));
}

int FolderSync(const char*, int, fuse_file_info*)
{
    return g_failFolderSync ? -EIO : 0;
}

int Unlink(const char* path)
{
    return Result(::unlink(Backing(path).c_str()));
}

int Rename(const char* from, const char* to, unsigned int flags)
{
    return Result(::renameat2(AT_FDCWD, Backing(from).c_str(), AT_FDCWD, Backing(to).c_str(), flags));
}

int Release(const char*, fuse_file_info* file)
{
    ::close(Descriptor(file));
    return 0;
}

int Truncate(const char* path, off_t size, fuse_file_info* file)
{
    if (file)
        return Result(::ftruncate(Descriptor(file), size));
    return Result(::truncate(Backing(path).c_str(), size));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    g_backing = argv[1];
    std::vector<char*> arguments{argv[0], argv[2]};
    for (int index = 3; index < argc; ++index) {
        const std::string option = argv[index];
        if (option.rfind("--fail-read-at=", 0) == 0)
            g_failReadAt = std::strtoull(option.c_str() + 15, nullptr, 10);
        else if (option == "--fail-close")
            g_failClose = true;
        else if (option == "--fail-fsync")
            g_failFsync = true;
        else if (option == "--fail-folder-sync")
            g_failFolderSync = true;
        else
            return 2;
    }
    fuse_operations operations{};
    operations.init = Init;
    operations.getattr = GetAttr;
    operations.open = Open;
    operations.create = Create;
    operations.read = Read;
    operations.write = Write;
    operations.flush = Flush;
    operations.fsync = Fsync;
    operations.fsyncdir = FolderSync;
    operations.unlink = Unlink;
    operations.rename = Rename;
    operations.release = Release;
    operations.truncate = Truncate;
    return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, nullptr);
}
