#pragma once
#include "HResult.h"

#include <cstdint>

// The line a block-transfer receiver talks through: received bytes, sends,
// the queues, a line break, and the waits. On a real line the waits give
// the user interface its turn; a replayed byte stream needs none of that.
class IYModemPort {
public:
    virtual ~IYModemPort() = default;

    // 0: n bytes copied; 1: fewer (maybe none) so far; E_FAIL: the line is gone.
    virtual HRESULT Read(void* destination, std::uint32_t n, std::uint32_t* count) = 0;
    // 0, or the failure.
    virtual HRESULT Write(const void* bytes, std::uint32_t n) = 0;
    // Drops what has arrived and is not read yet.
    virtual void FlushInput() = 0;
    // PURGE_* flags; false on failure.
    virtual bool Purge(unsigned flags) = 0;
    virtual HRESULT SendBreak(std::uint32_t milliseconds) = 0;
    // One turn of waiting for input: 1, or PUMP_QUIT when the program is closing.
    virtual int Pump() = 0;
    // Waits the time out: 1, or PUMP_QUIT as soon as the program is closing.
    virtual int Wait(int seconds, int milliseconds) = 0;
};
