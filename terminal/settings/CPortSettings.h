#pragma once
#include <array>
#include <cstdint>
#include <vector>

// One connection slot: ten signed 32-bit values whose order, width and codings
// are the stored format of the port table.
struct CPortSettings {
    std::int32_t m_nBaud = 4;             // -1 300 ... 4 9600 ... 8 115200
    std::int32_t m_nStopBits = 0;         // 0 one, 2 two
    std::int32_t m_nParity = 2;           // 0 Even, 1 Odd, 2 None, 3 Mark, 4 Space
    std::int32_t m_nFlow = 0;             // 0 None, 1 Xon/Xoff, 2 Hardware (kept only)
    std::int32_t m_nPort = 0;             // COM number minus 1
    std::int32_t m_nDeviceType = 0;       // 0-7
    std::int32_t m_bConnectOnStartup = 0;
    std::int32_t m_bBreakOnConnect = 0;
    std::int32_t m_bScriptErrorCheck = 0;
    std::int32_t m_bOverwriteLog = 0;

    static constexpr int kFieldCount = 10;
    static constexpr int kByteSize = kFieldCount * 4;

    // The defaults of slot `index` (slot i is COM i+1).
    static CPortSettings Defaults(int index);

    // A field outside its coding takes the default of slot `index`.
    void RangeCheck(int index);

    bool operator==(const CPortSettings&) const = default;
};

constexpr int kPortSlotCount = 12;
constexpr int kPortTableBytes = kPortSlotCount * CPortSettings::kByteSize;
constexpr int kMaxComNumber = 255;

using PortTable = std::array<CPortSettings, kPortSlotCount>;

// The table as stored: every field little-endian, slot after slot (480 bytes).
std::vector<std::uint8_t> SerialisePortTable(const PortTable& table);
// Reads the first bytes.size() bytes of a zero-filled 480-byte table (a
// shorter value leaves the rest zero), then range-checks every slot.
// The caller refuses values longer than 480 bytes.
PortTable DeserialisePortTable(const std::vector<std::uint8_t>& bytes);
