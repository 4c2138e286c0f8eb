#pragma once
#include <string>
#include <vector>

// A built program run unattended: no display, settings under a home of the
// test's own, arguments passed as the bytes they are (no text conversion).
struct ProgramResult {
    bool finished = false;  // false: killed after the timeout
    int exitCode = -1;      // -1 when it died by a signal
    int signal = 0;
    std::string errors;     // everything it wrote to standard error
};

// Where a run starts and how its environment differs from the default one:
// "NAME=value" sets a variable, a bare "NAME" removes it.
struct RunContext {
    std::string workingDirectory; // empty: the test's own
    std::vector<std::string> environment;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const std::string& locale = "C.UTF-8",
                         int timeoutSeconds = 120);
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const RunContext& context);

// Standard input of a run: a pipe that gets the bytes and then closes.
struct PipedInput {
    std::string bytes;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const PipedInput& input);

// The lines of `errors` that begin with "<prefix>: ", each with its "\n".
std::string MessageLines(const std::string& errors, const std::string& prefix);
