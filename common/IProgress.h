#pragma once
#include <cstdint>

// What a run sees of the progress window: a range and a position in bytes of
// any size, and a pump between two ensembles that answers false once the user cancelled.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetRange(std::uint64_t upper) = 0;
    virtual void SetPos(std::uint64_t position) = 0;
    virtual bool Pump() = 0;
};

// Progress for runs without a window: never cancels.
class NullProgress : public IProgress {
public:
    void SetRange(std::uint64_t) override {}
    void SetPos(std::uint64_t) override {}
    bool Pump() override { return true; }
};
