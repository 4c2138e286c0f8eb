#include "ProgramRun.h"

#include "RunningProgram.h"

#include <thread>

namespace {

ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& configHome, const std::string& locale, int timeoutSeconds,
                  const PipedInput* input, const RunContext& context = {})
{
    ProgramStreams streams;
    streams.pipedInput = input != nullptr;
    RunningProgram running(program, arguments, configHome, streams, locale, context);
    if (!running.Started())
        return {};
    std::thread feeder;
    if (input) {
        // A reader that is gone ends the feeding.
        feeder = std::thread([&running, input] {
            running.WriteInput(input->bytes);
            running.CloseInput();
        });
    }
    ProgramResult result = running.Finish(timeoutSeconds);
    if (feeder.joinable())
        feeder.join();
    return result;
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const std::string& locale, int timeoutSeconds)
{
    return Run(program, arguments, configHome, locale, timeoutSeconds, nullptr);
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& configHome, const RunContext& context)
{
    return Run(program, arguments, configHome, "C.UTF-8", 120, nullptr, context);
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
