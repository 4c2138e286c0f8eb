#pragma once
#include "IRunHost.h"

// A run straight from the command line, without a display: no window, a
// progress nobody sees and nobody cancels, waits for a stream's peer as long
// as they take (a signal ends them and the program), messages through the
// installed backend (standard error with default answers).
class CUnattendedRun : public IRunHost {
public:
    void RunWithProgress(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run) override;
    bool IsHeadlessAutoRun() const override { return true; }

    // 0 after a normal end that showed no message, else 1.
    int ExitStatus() const;

private:
    bool m_bEndedNormally = false;
};
