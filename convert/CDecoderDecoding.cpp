// The converter's members of CDecoder: one ensemble to text lines.
#include "CBaseFile.h"
#include "CDecoder.h"
#include "CQelEns.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

// Lines are collected and written in blocks of about this size.
constexpr std::size_t kOutputBlock = 64 * 1024;
// A double has no non-zero digit past its 1074th decimal; the cap keeps a
// bad decoder from asking for gigabytes of zeros.
constexpr int kMaxDecimals = 1074;

std::string FormatFixed(double value, int decimals)
{
    char buffer[kMaxDecimals + 400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      std::clamp(decimals, 0, kMaxDecimals));
    return std::string(buffer, result.ptr);
}

template <typename T> std::string FormatInteger(T value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::uint32_t ReadLittleEndian(const std::uint8_t* value, int bytes)
{
    std::uint32_t raw = 0;
    for (int i = bytes - 1; i >= 0; --i)
        raw = (raw << 8) | value[i];
    return raw;
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

} // namespace

std::string CDecoder::FormatValue(const DecoderRecord& record, const std::uint8_t* value, double* number) const
{
    const int bytes = std::abs(record.m_nWidth);
    const std::uint32_t raw = ReadLittleEndian(value, bytes);
    std::string text;
    if (record.m_nWidth < 0) {
        const int shift = 32 - 8 * bytes;
        const auto signedValue = static_cast<std::int32_t>(raw << shift) >> shift;
        text = FormatInteger(signedValue);
        *number = signedValue;
    } else {
        text = FormatInteger(raw);
        *number = raw;
    }
    if (record.m_dScale == 1.0)
        return text;
    *number *= record.m_dScale;
    return FormatFixed(*number, record.m_nDecimals);
}

void CDecoder::AddField(const std::string& text)
{
    if (m_bLineHasField)
        m_strOutLine.push_back(',');
    m_strOutLine += text;
    m_bLineHasField = true;
}

bool CDecoder::EndLine(CBaseFile& output)
{
    m_strPendingOutput += m_strOutLine;
    m_strPendingOutput += "\r\n";
    m_strOutLine.clear();
    m_bLineHasField = false;
    return m_strPendingOutput.size() < kOutputBlock || FlushOutput(output);
}

// Prints `record` once per selected repetition of the cell record, each
// repetition one step further into the data type.
void CDecoder::AddCells(const DecoderRecord& record, const DecoderRecord& cellRecord, double count,
                        const std::uint8_t* dataType, int size)
{
    const int repetitions = CellCount(count);
    CellMask mask;
    ParseCellList(cellRecord.m_strCellList, mask);
    const auto step = static_cast<std::uint16_t>(cellRecord.m_nCellStep);
    for (int i = 0; i < repetitions; ++i) {
        if (!mask[static_cast<std::size_t>(i)])
            continue;
        const std::uint64_t position = record.m_nOffset + static_cast<std::uint64_t>(i) * step;
        double ignored = 0.0;
        AddField(FieldFits(position, record.m_nWidth, size)
                     ? FormatValue(record, dataType + position - 1, &ignored)
                     : std::string());
    }
}

bool CDecoder::DecodeEnsemble(const CQelEns& ensemble, CBaseFile& output)
{
    m_strOutLine.clear();
    m_bLineHasField = false;
    double accumulator = 0.0;
    DecoderRecord kept;
    bool sumPending = false;
    bool cellsPending = false;

    for (const DecoderRecord& record : m_records) {
        if (record.IsLineEnd()) {
            if (!EndLine(output))
                return false;
            continue;
        }
        int size = 0;
        const std::uint8_t* dataType =
            ensemble.FindDataType(static_cast<std::uint16_t>(record.m_nDataTypeId), &size);
        if (!dataType || !FieldFits(record.m_nOffset, record.m_nWidth, size)) {
            AddField({});
            continue;
        }
        double value = 0.0;
        std::string text = FormatValue(record, dataType + record.m_nOffset - 1, &value);
        if (record.m_cFlag == '+') {
            accumulator = value;
            kept = record;
            sumPending = true;
            continue;
        }
        if (sumPending) {
            accumulator = value + accumulator;
            text = FormatFixed(accumulator, record.m_nDecimals);
        }
        if (cellsPending) {
            AddCells(record, kept, accumulator, dataType, size);
            cellsPending = false;
        } else if (record.m_nCellStep != 0) {
            kept = record;
            cellsPending = true;
            accumulator = value;
        } else {
            AddField(text);
        }
        sumPending = false;
    }
    return true;
}

bool CDecoder::FlushOutput(CBaseFile& output)
{
    if (m_strPendingOutput.empty())
        return true;
    const auto size = static_cast<std::uint32_t>(m_strPendingOutput.size());
    std::uint32_t written = 0;
    const bool ok = SUCCEEDED(output.Write(m_strPendingOutput.data(), size, &written)) && written == size;
    m_strPendingOutput.clear();
    return ok;
}
