#pragma once
#include "CDecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CQelEns;
class CRunOutput;

// The converter's walk of a loaded decoder over each ensemble: the text
// lines of the output. Fields are formatted straight into one reusable
// output buffer, with no text of their own per field or per line; complete
// lines are written in blocks.
class CEnsembleDecoding {
public:
    // The decoder must outlive the decoding.
    explicit CEnsembleDecoding(const CDecoder& decoder);

    // Appends the ensemble's text lines for the output; false when a write of
    // the output fails.
    bool DecodeEnsemble(const CQelEns& ensemble, CRunOutput& output);
    // Writes the lines still collected; false when that write fails.
    bool FlushOutput(CRunOutput& output);

private:
    // Room for `room` more characters; answers where they go.
    char* Reserve(std::size_t room);
    // Starts a field (its comma included) with room for `room` characters.
    char* StartField(std::size_t room);
    void EndField(char* end);
    void AddValue(const DecoderRecord& record, const std::uint8_t* value);
    bool EndLine(CRunOutput& output);
    void AddCells(const DecoderRecord& record, const DecoderRecord& cellRecord, double count,
                  const std::uint8_t* dataType, int size);
    // The selection of a cell list, parsed once per decoding.
    const CDecoder::CellMask& CellSelection(const std::string& cellList);

    struct ParsedCellList {
        std::string text;
        CDecoder::CellMask mask;
    };
    const std::vector<DecoderRecord>& m_records;
    std::vector<ParsedCellList> m_parsedCellLists;
    std::vector<char> m_outputBuffer; // complete lines, then the line being built, then spare room
    std::size_t m_nOutputUsed = 0;
    std::size_t m_nLineStart = 0;     // where the line being built begins
    bool m_bLineHasField = false;
};
