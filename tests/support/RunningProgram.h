#pragma once
#include "ProgramRun.h"

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <vector>

// What a started program gets as standard input and output, and its limits.
struct ProgramStreams {
    bool pipedInput = false;      // a pipe the test writes, else /dev/null
    bool pipedOutput = false;     // a pipe the test reads, else outputFile
    std::string outputFile = "/dev/null"; // opened for appending
    rlim_t fileSizeLimit = RLIM_INFINITY;
    rlim_t addressSpaceLimit = RLIM_INFINITY; // bytes, set by util-linux's prlimit
    std::vector<int> passedDescriptors; // the test's, given as 100, 101, ...
};

// A built program started unattended (as RunProgram runs it) whose standard
// streams the test holds: it writes the input and reads the output when it
// chooses, and may signal the program. Every signal starts at its default
// disposition in the program, whatever the test ignores.
class RunningProgram {
public:
    RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& configHome, const ProgramStreams& streams,
                   const std::string& locale = "C.UTF-8", const RunContext& context = {});
    // Kills a program still running and waits for it.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_pid > 0; }
    // The test's ends of the piped streams, -1 once closed.
    int Input() const { return m_input; }
    int Output() const { return m_output; }
    void CloseInput();
    void CloseOutput();
    // Writes all the bytes to the input; false when the program stopped reading.
    bool WriteInput(const std::string& bytes);
    // Waits until the program has taken every byte written to its input so far.
    bool WaitUntilInputTaken(int timeoutSeconds = 60);
    // Waits until the program holds `path` open and sleeps, as it does while
    // it waits for a peer; false when it ended or did neither in time.
    bool WaitUntilWaitingWith(const std::string& path, int timeoutSeconds = 60) const;
    // Reads the output until the program closes it.
    std::string ReadOutput(int timeoutSeconds = 120);
    void Signal(int signal);
    // Reads standard error until the program closes it and waits for its
    // end; killed when it has not ended after the timeout.
    ProgramResult Finish(int timeoutSeconds = 120);

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    int m_errors = -1;
};
