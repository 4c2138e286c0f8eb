#include "CEnsembleDecoding.h"

#include "CQelEns.h"
#include "CRunOutput.h"
#include "FixedText.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

// Lines are collected and written in blocks of about this size.
constexpr std::size_t kOutputBlock = 64 * 1024;

std::uint32_t ReadLittleEndian(const std::uint8_t* value, int bytes)
{
    switch (bytes) {
    case 1:
        return value[0];
    case 2:
        return value[0] | std::uint32_t{value[1]} << 8;
    case 3:
        return value[0] | std::uint32_t{value[1]} << 8 | std::uint32_t{value[2]} << 16;
    default:
        return value[0] | std::uint32_t{value[1]} << 8 | std::uint32_t{value[2]} << 16 |
               std::uint32_t{value[3]} << 24;
    }
}

// The field's integer (widths 1 to 4 bytes), sign-extended when its width is
// negative.
std::int64_t ReadInteger(const DecoderRecord& record, const std::uint8_t* value)
{
    const int bytes = std::abs(record.m_nWidth);
    const std::uint32_t raw = ReadLittleEndian(value, bytes);
    if (record.m_nWidth >= 0)
        return raw;
    const int shift = 32 - 8 * bytes;
    return static_cast<std::int32_t>(raw << shift) >> shift;
}

double ScaledValue(const DecoderRecord& record, std::int64_t integer)
{
    return static_cast<double>(integer) * record.m_dScale;
}

// Field integers fit 32 bits, whose digits are cheaper to find than 64-bit ones.
char* WriteInteger(char* first, std::int64_t integer)
{
    if (integer < 0)
        return std::to_chars(first, first + kMaxFixedText, static_cast<std::int32_t>(integer)).ptr;
    return std::to_chars(first, first + kMaxFixedText, static_cast<std::uint32_t>(integer)).ptr;
}

// Writes the field's text at `first` and returns its end.
char* WriteValue(const DecoderRecord& record, const std::uint8_t* value, char* first)
{
    const std::int64_t integer = ReadInteger(record, value);
    if (record.m_dScale == 1.0)
        return WriteInteger(first, integer);
    return WriteFixed(first, ScaledValue(record, integer), record.m_nDecimals);
}

// The data type a record reads; consecutive records mostly read the same
// one, so the last one found is looked up again only for another id.
struct CachedDataType {
    bool valid = false;
    std::int16_t id = 0;
    const std::uint8_t* data = nullptr;
    int size = 0;
};

void FindDataType(const CQelEns& ensemble, std::int16_t id, CachedDataType& cache)
{
    if (cache.valid && cache.id == id)
        return;
    cache.size = 0;
    cache.data = ensemble.FindDataType(static_cast<std::uint16_t>(id), &cache.size);
    cache.id = id;
    cache.valid = true;
}

// True when the whole field, from its 1-based position on, lies inside a data
// type of `size` bytes.
bool FieldFits(std::uint64_t position, int width, int size)
{
    return position + static_cast<std::uint64_t>(std::abs(width)) - 1 <= static_cast<std::uint64_t>(size);
}

// Repetitions a cell record asks for: its value truncated, at most 255.
int CellCount(double value)
{
    if (!(value >= 1.0))
        return 0;
    return value > 255.0 ? 255 : static_cast<int>(value);
}

// Growth is rare: the buffer is reused from block to block.
[[gnu::noinline]] void Grow(std::vector<char>& buffer, std::size_t needed)
{
    buffer.resize(std::max(needed, 2 * buffer.size()));
}

} // namespace

CEnsembleDecoding::CEnsembleDecoding(const CDecoder& decoder) : m_records(decoder.m_records) {}

inline void CEnsembleDecoding::EndField(char* end)
{
    m_nOutputUsed = static_cast<std::size_t>(end - m_outputBuffer.data());
}

inline char* CEnsembleDecoding::Reserve(std::size_t room)
{
    const std::size_t needed = m_nOutputUsed + room;
    if (needed > m_outputBuffer.size()) [[unlikely]]
        Grow(m_outputBuffer, needed);
    return m_outputBuffer.data() + m_nOutputUsed;
}

inline char* CEnsembleDecoding::StartField(std::size_t room)
{
    char* start = Reserve(1 + room);
    if (m_bLineHasField)
        *start++ = ',';
    m_bLineHasField = true;
    EndField(start);
    return start;
}

inline void CEnsembleDecoding::AddValue(const DecoderRecord& record, const std::uint8_t* value)
{
    EndField(WriteValue(record, value, StartField(kMaxFixedText)));
}

bool CEnsembleDecoding::EndLine(CRunOutput& output)
{
    char* const end = Reserve(2);
    end[0] = '\r';
    end[1] = '\n';
    EndField(end + 2);
    m_nLineStart = m_nOutputUsed;
    m_bLineHasField = false;
    return m_nLineStart < kOutputBlock || FlushOutput(output);
}

// Prints `record` once per selected repetition of the cell record, each
// repetition one step further into the data type.
void CEnsembleDecoding::AddCells(const DecoderRecord& record, const DecoderRecord& cellRecord, double count,
                        const std::uint8_t* dataType, int size)
{
    const int repetitions = CellCount(count);
    const CDecoder::CellMask& mask = CellSelection(cellRecord.m_strCellList);
    const auto step = static_cast<std::uint16_t>(cellRecord.m_nCellStep);
    for (int i = 0; i < repetitions; ++i) {
        if (!mask[static_cast<std::size_t>(i)])
            continue;
        const std::uint64_t position = record.m_nOffset + static_cast<std::uint64_t>(i) * step;
        if (FieldFits(position, record.m_nWidth, size))
            AddValue(record, dataType + position - 1);
        else
            StartField(0);
    }
}

const CDecoder::CellMask& CEnsembleDecoding::CellSelection(const std::string& cellList)
{
    for (const ParsedCellList& parsed : m_parsedCellLists) {
        if (parsed.text == cellList)
            return parsed.mask;
    }
    ParsedCellList& parsed = m_parsedCellLists.emplace_back();
    parsed.text = cellList;
    CDecoder::ParseCellList(cellList, parsed.mask);
    return parsed.mask;
}

bool CEnsembleDecoding::DecodeEnsemble(const CQelEns& ensemble, CRunOutput& output)
{
    // Records without a final line end leave a line unfinished; it is dropped.
    m_nOutputUsed = m_nLineStart;
    m_bLineHasField = false;
    CachedDataType cache;
    double accumulator = 0.0;
    const DecoderRecord* kept = nullptr;
    bool sumPending = false;
    bool cellsPending = false;

    for (const DecoderRecord& record : m_records) {
        if (record.IsLineEnd()) {
            if (!EndLine(output))
                return false;
            continue;
        }
        FindDataType(ensemble, record.m_nDataTypeId, cache);
        if (!cache.data || !FieldFits(record.m_nOffset, record.m_nWidth, cache.size)) {
            StartField(0);
            continue;
        }
        const std::uint8_t* const field = cache.data + record.m_nOffset - 1;
        if (record.m_cFlag == '+') {
            accumulator = ScaledValue(record, ReadInteger(record, field));
            kept = &record;
            sumPending = true;
            continue;
        }
        if (sumPending)
            accumulator = ScaledValue(record, ReadInteger(record, field)) + accumulator;
        if (cellsPending) {
            AddCells(record, *kept, accumulator, cache.data, cache.size);
            cellsPending = false;
        } else if (record.m_nCellStep != 0) {
            kept = &record;
            cellsPending = true;
            accumulator = ScaledValue(record, ReadInteger(record, field));
        } else {
            if (sumPending)
                EndField(WriteFixed(StartField(kMaxFixedText), accumulator, record.m_nDecimals));
            else
                AddValue(record, field);
        }
        sumPending = false;
    }
    return true;
}

bool CEnsembleDecoding::FlushOutput(CRunOutput& output)
{
    // Only complete lines are written; an unfinished one is dropped with them.
    const bool ok = output.Write(m_outputBuffer.data(), static_cast<std::uint32_t>(m_nLineStart));
    m_nOutputUsed = 0;
    m_nLineStart = 0;
    return ok;
}
