#pragma once
// The line settings of one connection (fields 0-5 of its settings slot, same
// codings) and the kinds of instrument that can be on the line.
#include <cstdint>

// Device type codes as the settings store them; the device names are the
// string table's IDS_DEVICE_FIRST + code.
enum DeviceType : std::int32_t {
    kTarnhold = 0,
    kFennick = 1,
    kGlissom = 2,
    kQuillon = 3,
    kTesk = 4,
    kPlorid = 5,
    kHux = 6,
    kSallow = 7,
};

struct PortConfig {
    std::int32_t m_nBaud = 4;
    std::int32_t m_nStopBits = 0;
    std::int32_t m_nParity = 2;
    std::int32_t m_nFlow = 0;
    std::int32_t m_nPort = 0;
    std::int32_t m_nDeviceType = kTarnhold;
};

// Loop recorders answer a size query; the plain recorder is on every other
// instrument but the two without one.
inline bool IsLoopRecorderType(std::int32_t type)
{
    return type == kQuillon || type == kPlorid || type == kHux || type == kSallow;
}

inline bool IsRecorderType(std::int32_t type)
{
    return type != kFennick && type != kGlissom && !IsLoopRecorderType(type);
}
