#include "RunningProgram.h"

#include "StreamEnds.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kPrlimit = "/usr/bin/prlimit";

// Sets "NAME=value" or removes a bare "NAME" in `environment`.
void Apply(std::vector<std::string>& environment, const std::string& change)
{
    const std::string prefix = change.substr(0, change.find('=')) + "=";
    std::erase_if(environment, [&](const std::string& entry) { return entry.starts_with(prefix); });
    if (change.find('=') != std::string::npos)
        environment.push_back(change);
}

std::vector<std::string> ProgramEnvironment(const std::string& configHome, const std::string& locale,
                                            const std::vector<std::string>& changes)
{
    static const char* const kReplaced[] = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "LC_ALL=",
                                            "XDG_CONFIG_HOME="};
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        bool replaced = false;
        for (const char* prefix : kReplaced)
            replaced = replaced || std::strncmp(*entry, prefix, std::strlen(prefix)) == 0;
        if (!replaced)
            environment.emplace_back(*entry);
    }
    environment.push_back("LC_ALL=" + locale);
    environment.push_back("XDG_CONFIG_HOME=" + configHome);
    for (const std::string& change : changes)
        Apply(environment, change);
    return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

bool Holds(pid_t pid, const std::string& path)
{
    const std::filesystem::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == path)
            return true;
    }
    return false;
}

// The state letter of the process's main thread ('S': asleep in a wait).
char StateOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');
    return end == std::string::npos || end + 2 >= text.size() ? '?' : text[end + 2];
}

void CloseDescriptor(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The program starts with every signal at its default disposition, and with
// the test's file-size limit in force only from the spawn on.
class SpawnSetup {
public:
    explicit SpawnSetup(rlim_t fileSizeLimit)
    {
        posix_spawnattr_init(&m_attributes);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_init(&m_actions);
        ::getrlimit(RLIMIT_FSIZE, &m_previousLimit);
        rlimit limit = m_previousLimit;
        limit.rlim_cur = fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SpawnSetup()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previousLimit);
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t* Actions() { return &m_actions; }
    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
    posix_spawn_file_actions_t m_actions;
    rlimit m_previousLimit{};
};

} // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& configHome, const ProgramStreams& streams,
                               const std::string& locale, const RunContext& context)
{
    // A program that stops reading must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    int errorPipe[2] = {-1, -1};
    int inputPipe[2] = {-1, -1};
    int outputPipe[2] = {-1, -1};
    if (::pipe2(errorPipe, O_CLOEXEC) != 0 || (streams.pipedInput && ::pipe2(inputPipe, O_CLOEXEC) != 0)
        || (streams.pipedOutput && ::pipe2(outputPipe, O_CLOEXEC) != 0)) {
        for (int fd : {errorPipe[0], errorPipe[1], inputPipe[0], inputPipe[1], outputPipe[0], outputPipe[1]})
            CloseDescriptor(fd);
        return;
    }
    // A limit on the address space in this process would fail the spawn itself.
    std::vector<std::string> argumentTexts{program};
    if (streams.addressSpaceLimit != RLIM_INFINITY)
        argumentTexts = {kPrlimit, "--as=" + std::to_string(streams.addressSpaceLimit), "--", program};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = ProgramEnvironment(configHome, locale, context.environment);
    {
        SpawnSetup setup(streams.fileSizeLimit);
        if (streams.pipedInput)
            posix_spawn_file_actions_adddup2(setup.Actions(), inputPipe[0], 0);
        else
            posix_spawn_file_actions_addopen(setup.Actions(), 0, "/dev/null", O_RDONLY, 0);
        if (streams.pipedOutput)
            posix_spawn_file_actions_adddup2(setup.Actions(), outputPipe[1], 1);
        else
            posix_spawn_file_actions_addopen(setup.Actions(), 1, streams.outputFile.c_str(),
                                             O_WRONLY | O_APPEND | O_CREAT, 0600);
        posix_spawn_file_actions_adddup2(setup.Actions(), errorPipe[1], 2);
        // Well above the sources, so no copy overwrites a descriptor still to be copied.
        for (std::size_t i = 0; i < streams.passedDescriptors.size(); ++i)
            posix_spawn_file_actions_adddup2(setup.Actions(), streams.passedDescriptors[i], 100 + static_cast<int>(i));
        if (!context.workingDirectory.empty())
            posix_spawn_file_actions_addchdir_np(setup.Actions(), context.workingDirectory.c_str());
        pid_t pid = -1;
        if (posix_spawn(&pid, argumentTexts.front().c_str(), setup.Actions(), setup.Attributes(),
                        Pointers(argumentTexts).data(), Pointers(environment).data())
            == 0)
            m_pid = pid;
    }
    CloseDescriptor(errorPipe[1]);
    CloseDescriptor(inputPipe[0]);
    CloseDescriptor(outputPipe[1]);
    m_errors = errorPipe[0];
    m_input = inputPipe[1];
    m_output = outputPipe[0];
}

RunningProgram::~RunningProgram()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    CloseDescriptor(m_input);
    CloseDescriptor(m_output);
    CloseDescriptor(m_errors);
}

void RunningProgram::CloseInput()
{
    CloseDescriptor(m_input);
}

void RunningProgram::CloseOutput()
{
    CloseDescriptor(m_output);
}

bool RunningProgram::WriteInput(const std::string& bytes)
{
    return WriteAll(m_input, bytes);
}

bool RunningProgram::WaitUntilInputTaken(int timeoutSeconds)
{
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        int waiting = 0;
        if (::ioctl(m_input, FIONREAD, &waiting) != 0)
            return false;
        if (waiting == 0)
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool RunningProgram::WaitUntilWaitingWith(const std::string& path, int timeoutSeconds) const
{
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    while (Clock::now() < deadline) {
        const char state = StateOf(m_pid);
        if (state == '?' || state == 'Z')
            return false;
        if (state == 'S' && Holds(m_pid, path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

std::string RunningProgram::ReadOutput(int timeoutSeconds)
{
    std::string text;
    ReadUntilClosed(m_output, text, Clock::now() + std::chrono::seconds(timeoutSeconds));
    return text;
}

void RunningProgram::Signal(int signal)
{
    if (m_pid > 0)
        ::kill(m_pid, signal);
}

ProgramResult RunningProgram::Finish(int timeoutSeconds)
{
    ProgramResult result;
    if (m_pid <= 0)
        return result;
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    result.finished = ReadUntilClosed(m_errors, result.errors, deadline);
    CloseDescriptor(m_errors);
    if (!result.finished)
        ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}
