#pragma once
#include "HResult.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <termios.h>

namespace platform {

// Parity in the classic line-state coding.
enum : std::uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
// Stop bits in the classic line-state coding (1.5 is never produced).
enum : std::uint8_t { ONESTOPBIT = 0, TWOSTOPBITS = 2 };

// The four values of a line that the terminal sets and shows.
struct LineSettings {
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = NOPARITY;
    std::uint8_t StopBits = ONESTOPBIT;
};

// Queues that Flush discards.
enum class FlushQueues { Input, Output, Both };

// Called with the device path and true when a break starts, false when it
// ends. Pseudo-terminals ignore breaks, so tests watch them here.
using BreakObserver = std::function<void(const std::string& devicePath, bool on)>;
void SetBreakObserver(BreakObserver observer);

// One serial device on termios: opened exclusively, raw 8-bit, no flow
// control, DTR and RTS raised. Reads and writes never block.
class SerialLine {
public:
    SerialLine() = default;
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // S_OK, or the system error as an HRESULT (ERROR_BUSY when another
    // process holds the device).
    HRESULT Open(const std::string& devicePath);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    const std::string& DevicePath() const { return m_path; }

    // False when the device refuses a value (unsupported rate or size).
    bool Apply(const LineSettings& settings);
    bool Query(LineSettings& settings) const;

    bool Flush(FlushQueues queues);
    // Bytes the driver holds that have not left the device yet (0 when it cannot tell).
    std::size_t UnsentBytes() const;
    bool SetBreak(bool on);

    // The termios coding of the four values; false for a value the line
    // cannot take (a rate outside the ten, a size outside 5-8).
    static bool EncodeSettings(const LineSettings& settings, termios& tio);
    static LineSettings DecodeSettings(const termios& tio);

    // Bytes read or written; 0 when the device would block; -1 when the
    // device is gone or failed (the errno stays set).
    ssize_t ReadSome(void* buffer, std::size_t size);
    ssize_t WriteSome(const void* buffer, std::size_t size);

private:
    int m_fd = -1;
    std::string m_path;
};

// The ten rates of the terminal (300-115200); others are refused.
bool IsSupportedBaudRate(std::uint32_t baud);

} // namespace platform
