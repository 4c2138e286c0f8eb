#include "CCrc16.h"

CCrc16::CCrc16()
{
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
        m_table[byte] = static_cast<std::uint16_t>(crc & 0xFFFF);
    }
}

const CCrc16& CCrc16::Table()
{
    static const CCrc16 table;
    return table;
}

std::uint16_t CCrc16::Compute(const std::uint8_t* data, std::size_t length)
{
    const auto& table = Table().m_table;
    unsigned crc = 0;
    for (std::size_t i = 0; i < length; ++i)
        crc = ((crc << 8) & 0xFFFF) ^ table[(data[i] ^ (crc >> 8)) & 0xFF];
    return static_cast<std::uint16_t>(crc);
}
