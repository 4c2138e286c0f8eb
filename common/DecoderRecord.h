#pragma once
#include <cstdint>
#include <string>

// One record of a decoder file: where a value lies in an ensemble and how it
// is printed, or a line end.
struct DecoderRecord {
    static constexpr std::int16_t kLineEndId = -2;

    std::int16_t m_nDataTypeId = kLineEndId;
    std::uint16_t m_nOffset = 0;     // first byte of the value in its data type, from 1
    std::int32_t m_nWidth = 0;       // bytes, negative when signed; 0 only for a line end
    double m_dScale = 1.0;
    std::int32_t m_nDecimals = 0;
    char m_cFlag = ' ';              // '+' adds the value into the next record's value
    std::int16_t m_nCellStep = 0;    // "$P" records only
    std::string m_strCellList;       // "$P" records only

    // A value record never has width 0, so the id FFFE alone does not make a line end.
    bool IsLineEnd() const { return m_nDataTypeId == kLineEndId && m_nWidth == 0; }
};
