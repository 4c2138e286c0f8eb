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
#include <thread>

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

// Writes the bytes into the pipe, which it owns; a reader that is gone ends it.
void FeedPipe(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        done += static_cast<std::size_t>(count);
    }
}

ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& configHome, const std::string& locale, int timeoutSeconds,
                  const PipedInput* input)
{
    ProgramResult result;
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return result;
    int inputPipe[2] = {-1, -1};
    if (input && ::pipe2(inputPipe, O_CLOEXEC) != 0) {
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return result;
    }
    // A program that stops reading must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input)
        posix_spawn_file_actions_adddup2(&actions, inputPipe[0], 0);
    else
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
    if (input)
        ::close(inputPipe[0]);
    if (spawned != 0) {
        ::close(errorPipe[0]);
        if (input)
            ::close(inputPipe[1]);
        return result;
    }
    std::thread feeder;
    if (input) {
        feeder = std::thread([fd = inputPipe[1], input] {
            FeedPipe(fd, input->bytes);
            if (!input->holdOpen)
                ::close(fd);
        });
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    result.finished = ReadUntilClosed(errorPipe[0], result.errors, deadline);
    ::close(errorPipe[0]);
    if (!result.finished)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (input) {
        feeder.join();
        if (input->holdOpen)
            ::close(inputPipe[1]);
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const std::string& locale, int timeoutSeconds)
{
    return Run(program, arguments, configHome, locale, timeoutSeconds, nullptr);
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const PipedInput& input)
{
    return Run(program, arguments, configHome, "C.UTF-8", 120, &input);
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
