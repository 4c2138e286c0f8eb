#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// CRC-16 of the block transfer: polynomial 0x1021, most significant bit
// first, initial value 0, no final XOR.
class CCrc16 {
public:
    static std::uint16_t Compute(const std::uint8_t* data, std::size_t length);

private:
    CCrc16();
    static const CCrc16& Table();

    std::array<std::uint16_t, 256> m_table{};
};
