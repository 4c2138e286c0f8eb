#pragma once
#include <functional>

class IProgress;

// Where a data utility's run goes: under its dialog's progress window, or
// straight from the command line without any window.
class IRunHost {
public:
    virtual ~IRunHost() = default;

    // `open` (false: it has shown its message, or the user kept a file), then
    // `run` with the progress; run's answer (true: a normal end) ends the run.
    // Memory that cannot be had ends the run with a message.
    virtual void RunWithProgress(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run) = 0;
    // True when nobody can look at the run's state afterwards: an unattended
    // run without a display, which must say how it ended.
    virtual bool IsHeadlessAutoRun() const = 0;
};
