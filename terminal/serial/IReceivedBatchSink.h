#pragma once
// Where the serial port delivers received batches, on the thread that owns the
// port. The port keeps no widget type: the terminal window is one such sink.
#include <cstddef>

class IReceivedBatchSink {
public:
    virtual void OnAddText(const char* bytes, std::size_t count) = 0;

protected:
    ~IReceivedBatchSink() = default;
};
