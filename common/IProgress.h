#pragma once
#include <cstdint>

// What a run sees of the progress window: a 32-bit range and position, and a
// pump between two ensembles that answers false once the user cancelled.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetRange(std::uint32_t upper) = 0;
    virtual void SetPos(std::uint32_t position) = 0;
    virtual bool Pump() = 0;
};

// Progress for runs without a window: never cancels.
class NullProgress : public IProgress {
public:
    void SetRange(std::uint32_t) override {}
    void SetPos(std::uint32_t) override {}
    bool Pump() override { return true; }
};
