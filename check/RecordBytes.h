#pragma once
#include <cstdint>
#include <string>

// Little-endian reads inside one record of `size` bytes. A field that does not
// lie wholly inside the record reads as 0, so a short or absent record never
// leads outside its buffer.
namespace record_bytes {

inline bool Holds(const std::uint8_t* data, int size, int offset, int width)
{
    return data != nullptr && offset >= 0 && offset + width <= size;
}

inline std::uint8_t U8(const std::uint8_t* data, int size, int offset)
{
    return Holds(data, size, offset, 1) ? data[offset] : 0;
}

inline std::uint16_t U16(const std::uint8_t* data, int size, int offset)
{
    if (!Holds(data, size, offset, 2))
        return 0;
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

inline std::uint32_t U32(const std::uint8_t* data, int size, int offset)
{
    if (!Holds(data, size, offset, 4))
        return 0;
    return static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8)
        | (static_cast<std::uint32_t>(data[offset + 2]) << 16)
        | (static_cast<std::uint32_t>(data[offset + 3]) << 24);
}

// Seven date and time bytes in stored order as "yy/mm/dd hh:mm:ss.ff".
std::string TimeText(const std::uint8_t* data, int size, int offset);

} // namespace record_bytes
