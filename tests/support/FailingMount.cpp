#include "FailingMount.h"

#include "ProgramRun.h"

#include <vector>

namespace {

const std::string kFailingFs = QSV_FAILING_FS;

} // namespace

FailingMount::FailingMount(const Failures& failures)
{
    std::vector<std::string> arguments{m_backing.Path(), m_mount.Path()};
    if (failures.readsFrom != std::numeric_limits<std::uint64_t>::max())
        arguments.push_back("--fail-read-at=" + std::to_string(failures.readsFrom));
    if (failures.closes)
        arguments.push_back("--fail-close");
    // The file system goes to the background once it is mounted.
    const ProgramResult mount = RunProgram(kFailingFs, arguments, m_backing.Path());
    m_mounted = mount.finished && mount.exitCode == 0;
}

FailingMount::~FailingMount()
{
    if (m_mounted)
        RunProgram("/usr/bin/fusermount3", {"-u", "-z", m_mount.Path()}, m_backing.Path());
}
