#include "ProgramRun.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>

extern char** environ;

namespace {

std::vector<std::string> ProgramEnvironment(const std::string& configHome, const std::string& locale)
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

// Reads the pipe until it closes or the deadline passes; false on the deadline.
bool ReadUntilClosed(int fd, std::string& text, std::chrono::steady_clock::time_point deadline)
{
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return false;
        if (ready < 0)
            return true; // the pipe is gone: nothing more will come
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const std::string& locale, int timeoutSeconds)
{
    ProgramResult result;
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);
    std::vector<std::string> argumentTexts{program};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = ProgramEnvironment(configHome, locale);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, Pointers(argumentTexts).data(),
                                    Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    if (spawned != 0) {
        ::close(errorPipe[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    result.finished = ReadUntilClosed(errorPipe[0], result.errors, deadline);
    ::close(errorPipe[0]);
    if (!result.finished)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

std::string MessageLines(const std::string& errors, const std::string& prefix)
{
    std::string messages;
    std::size_t start = 0;
    while (start < errors.size()) {
        std::size_t end = errors.find('\n', start);
        if (end == std::string::npos)
            end = errors.size();
        const std::string line = errors.substr(start, end - start);
        if (line.rfind(prefix + ": ", 0) == 0)
            messages += line + "\n";
        start = end + 1;
    }
    return messages;
}
