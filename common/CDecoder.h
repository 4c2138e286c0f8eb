#pragma once
#include "DecoderRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CAsciiLineReader;
class CBaseFile;
class CQelEns;

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

    // Converter (defined with the converter).
    // Appends the ensemble's text lines for the output; false when a write of
    // the output fails. Lines are collected and written in blocks.
    bool DecodeEnsemble(const CQelEns& ensemble, CBaseFile& output);
    // Writes the lines still collected; false when that write fails.
    bool FlushOutput(CBaseFile& output);

private:
    // Converter helpers. Fields are formatted straight into one reusable
    // output buffer: no text of their own per field or per line.
    // Room for `room` more characters; answers where they go.
    char* Reserve(std::size_t room);
    // Starts a field (its comma included) with room for `room` characters.
    char* StartField(std::size_t room);
    void EndField(char* end);
    void AddValue(const DecoderRecord& record, const std::uint8_t* value);
    bool EndLine(CBaseFile& output);
    void AddCells(const DecoderRecord& record, const DecoderRecord& cellRecord, double count,
                  const std::uint8_t* dataType, int size);
    // The selection of a cell list, parsed once per decoder.
    const CellMask& CellSelection(const std::string& cellList);

    struct ParsedCellList {
        std::string text;
        CellMask mask;
    };
    std::vector<ParsedCellList> m_parsedCellLists;
    std::vector<char> m_outputBuffer; // complete lines, then the line being built, then spare room
    std::size_t m_nOutputUsed = 0;
    std::size_t m_nLineStart = 0;     // where the line being built begins
    bool m_bLineHasField = false;

public:

    // Merger (defined with the merger).
    // Writes the values of the ASCII file's next line group into the
    // ensemble; false when a line that the ensemble needs cannot be read
    // (fields handled before that point are already changed).
    bool MergeEnsemble(CQelEns& ensemble, CAsciiLineReader& ascii) const;
};
