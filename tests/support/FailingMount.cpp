#include "FailingMount.h"

#include "ProgramRun.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kFailingFs = QSV_FAILING_FS;
const std::string kUnmount = "/usr/bin/fusermount3";

// Why this machine cannot mount a FUSE file system; empty when it can.
std::string FuseMissing()
{
    const int device = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (device < 0)
        return std::string("FUSE is missing here: /dev/fuse cannot be opened (") + std::strerror(errno) + ")";
    ::close(device);
    if (::access(kUnmount.c_str(), X_OK) != 0)
        return "FUSE is missing here: " + kUnmount + " cannot be run";
    return {};
}

bool IsCiRun()
{
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "true") == 0;
}

} // namespace

FailingMount::FailingMount(const Failures& failures)
{
    m_trouble = FuseMissing();
    if (!m_trouble.empty()) {
        m_maySkip = !IsCiRun();
        if (!m_maySkip)
            m_trouble += "; a CI run (CI=true) needs every test";
        return;
    }
    std::vector<std::string> arguments{m_backing.Path(), m_mount.Path()};
    if (failures.readsFrom != std::numeric_limits<std::uint64_t>::max())
        arguments.push_back("--fail-read-at=" + std::to_string(failures.readsFrom));
    if (failures.closes)
        arguments.push_back("--fail-close");
    if (failures.fileSyncs)
        arguments.push_back("--fail-fsync");
    if (failures.folderSyncs)
        arguments.push_back("--fail-folder-sync");
    // The file system goes to the background once it is mounted.
    const ProgramResult mount = RunProgram(kFailingFs, arguments, m_backing.Path());
    if (!mount.finished || mount.exitCode != 0)
        m_trouble = "The failing file system did not mount (exit " + std::to_string(mount.exitCode) + "): " +
                    mount.errors;
}

FailingMount::~FailingMount()
{
    if (Mounted())
        RunProgram(kUnmount, {"-u", "-z", m_mount.Path()}, m_backing.Path());
}
