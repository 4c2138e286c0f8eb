#pragma once
#include "DecoderRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CBaseFile;

// A loaded decoder file: the ordered records that the converter prints from
// each ensemble and the merger writes back into it.
class CDecoder {
public:
    // Entry n - 1 stands for cell n; 1 selects the cell.
    using CellMask = std::array<std::uint8_t, 256>;

    CDecoder() = default;
    virtual ~CDecoder();
    CDecoder(const CDecoder&) = delete;
    CDecoder& operator=(const CDecoder&) = delete;

    // Reads the decoder file from its current position. Shows its own message
    // and answers false on a bad line, a missing final "$L" or too few records.
    bool Load(CBaseFile& file);
    // Shows "Error in decoder file line number %d." when the line is rejected
    // (a line longer than kMaxTextLineBytes always is).
    bool ProcessLine(const std::string& line, int lineNumber);
    // Appends at most one record; false when the line is not valid.
    bool ParseLine(const std::string& line);
    // Fills the selection mask from a cell list such as "(1,3-5,9)"; an empty
    // list selects every cell.
    static void ParseCellList(const std::string& cellList, CellMask& mask);

    std::vector<DecoderRecord> m_records;
};
