#include "CPortSettings.h"

#include <algorithm>

namespace {

constexpr std::int32_t kBaudCodeMin = -1;
constexpr std::int32_t kBaudCodeMax = 8;

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high)
{
    return value >= low && value <= high;
}

// The fields in stored order, so both directions walk the same list.
std::array<std::int32_t*, CPortSettings::kFieldCount> Fields(CPortSettings& slot)
{
    return {&slot.m_nBaud,           &slot.m_nStopBits,         &slot.m_nParity,
            &slot.m_nFlow,           &slot.m_nPort,             &slot.m_nDeviceType,
            &slot.m_bConnectOnStartup, &slot.m_bBreakOnConnect, &slot.m_bScriptErrorCheck,
            &slot.m_bOverwriteLog};
}

} // namespace

CPortSettings CPortSettings::Defaults(int index)
{
    CPortSettings slot;
    slot.m_nPort = index;
    return slot;
}

void CPortSettings::RangeCheck(int index)
{
    const CPortSettings defaults = Defaults(index);
    if (!InRange(m_nBaud, kBaudCodeMin, kBaudCodeMax))
        m_nBaud = defaults.m_nBaud;
    if (m_nStopBits != 0 && m_nStopBits != 2)
        m_nStopBits = defaults.m_nStopBits;
    if (!InRange(m_nParity, 0, 4))
        m_nParity = defaults.m_nParity;
    if (!InRange(m_nFlow, 0, 2))
        m_nFlow = defaults.m_nFlow;
    if (!InRange(m_nPort, 0, kMaxComNumber - 1))
        m_nPort = defaults.m_nPort;
    if (!InRange(m_nDeviceType, 0, 7))
        m_nDeviceType = defaults.m_nDeviceType;
}

std::vector<std::uint8_t> SerialisePortTable(const PortTable& table)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kPortTableBytes);
    for (CPortSettings slot : table) {
        for (std::int32_t* field : Fields(slot)) {
            auto value = static_cast<std::uint32_t>(*field);
            for (int shift = 0; shift < 32; shift += 8)
                bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    return bytes;
}

PortTable DeserialisePortTable(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> padded(kPortTableBytes, 0);
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), kPortTableBytes),
                padded.begin());
    PortTable table{};
    std::size_t offset = 0;
    for (int index = 0; index < kPortSlotCount; ++index) {
        CPortSettings& slot = table[index];
        for (std::int32_t* field : Fields(slot)) {
            std::uint32_t value = 0;
            for (int shift = 0; shift < 32; shift += 8)
                value |= static_cast<std::uint32_t>(padded[offset++]) << shift;
            *field = static_cast<std::int32_t>(value);
        }
        slot.RangeCheck(index);
    }
    return table;
}
