#include "EnsembleMerge.h"

#include "CQelEns.h"
#include "CTextLineReader.h"
#include "FieldStore.h"
#include "TokenValue.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <span>

namespace {

// A "$P" record repeats the record after it over this many cell positions,
// taking one token more than that.
constexpr int kCellPasses = 255;

// The bytes of a data type, cut to the ensemble's byte count; empty when the
// ensemble has no such data type.
std::span<std::uint8_t> DataTypeBytes(const CQelEns& ensemble, std::int16_t id)
{
    int size = 0;
    std::uint8_t* dataType = ensemble.FindDataType(static_cast<std::uint16_t>(id), &size);
    const int byteCount = ensemble.GetEnsembleSize() - 2;
    if (dataType == nullptr || size <= 0 || byteCount <= 0)
        return {};
    const std::ptrdiff_t start = dataType - ensemble.m_pData;
    if (start < 0 || start >= byteCount)
        return {};
    const std::ptrdiff_t available = byteCount - start;
    return {dataType, static_cast<std::size_t>(std::min<std::ptrdiff_t>(size, available))};
}

// One ensemble's walk over the decoder records.
class MergeWalk {
public:
    MergeWalk(const std::vector<DecoderRecord>& records, CQelEns& ensemble, CTextLineReader& ascii)
        : m_records(records), m_ensemble(ensemble), m_ascii(ascii)
    {
    }

    bool Run()
    {
        if (!ReadLine())
            return false;
        for (std::size_t index = 0; index < m_records.size(); ++index) {
            const DecoderRecord& record = m_records[index];
            if (record.IsLineEnd()) {
                if (m_bNeedLine && !ReadLine())
                    return false;
                m_bNeedLine = true;
                continue;
            }
            if (m_bNeedLine) {
                // A later group may not begin with an empty line.
                if (!ReadLine() || m_line.empty())
                    return false;
                m_bNeedLine = false;
            }
            index = MergeRecord(index);
        }
        return true;
    }

private:
    bool ReadLine()
    {
        const bool read = m_ascii.ReadLine(m_line);
        m_tokens = CTokenCursor(m_line);
        return read;
    }

    std::optional<std::int64_t> NextTokenValue(const DecoderRecord& record)
    {
        return TokenValue(m_tokens.Next(), record.m_dScale, record.m_nDecimals);
    }

    // Handles the record at `index`; answers the index of the last record used.
    std::size_t MergeRecord(std::size_t index)
    {
        const DecoderRecord& record = m_records[index];
        const std::span<std::uint8_t> field =
            FieldAt(DataTypeBytes(m_ensemble, record.m_nDataTypeId), record.m_nOffset, record.m_nWidth);
        if (field.empty()) {
            m_tokens.Next();
            return index;
        }
        std::optional<std::int64_t> value;
        if (m_bCarryPending) {
            m_dCarry = m_dCarry * m_dKeptScale / record.m_dScale;
            value = TruncateTowardZero(m_dCarry);
            m_bCarryPending = false;
        } else {
            value = NextTokenValue(record);
            if (record.m_cFlag == '+') {
                KeepSplit(record, field, value);
                return index;
            }
        }
        if (record.m_nCellStep != 0)
            return RunCells(index, value);
        if (value)
            StoreValue(record.m_nWidth, field, *value);
        return index;
    }

    // A '+' record keeps in its own field what its width holds and passes
    // the rest on to the next record.
    void KeepSplit(const DecoderRecord& record, std::span<std::uint8_t> field,
                   std::optional<std::int64_t> value)
    {
        m_bCarryPending = true;
        m_dKeptScale = record.m_dScale;
        m_dCarry = value ? StoreSplit(record.m_nWidth, field, *value)
                         : std::numeric_limits<double>::quiet_NaN();
    }

    // The record after the "$P" record at `index` is written once per
    // selected cell, each cell step further on; every pass takes a token.
    std::size_t RunCells(std::size_t index, std::optional<std::int64_t> value)
    {
        const DecoderRecord& repeat = m_records[index];
        CDecoder::CellMask mask{};
        CDecoder::ParseCellList(repeat.m_strCellList, mask);
        const std::size_t cellIndex = index + 1;
        const bool hasCellRecord = cellIndex < m_records.size();
        const DecoderRecord cell = hasCellRecord ? m_records[cellIndex] : DecoderRecord{};
        const std::span<std::uint8_t> cells = DataTypeBytes(m_ensemble, cell.m_nDataTypeId);
        const std::uint32_t step = static_cast<std::uint16_t>(repeat.m_nCellStep);
        std::uint32_t distance = 0;
        for (int pass = 0; pass < kCellPasses; ++pass) {
            if (value && mask[static_cast<std::size_t>(pass)] != 0) {
                const std::span<std::uint8_t> field = FieldAt(cells, cell.m_nOffset + distance, cell.m_nWidth);
                if (!field.empty())
                    StoreValue(cell.m_nWidth, field, *value);
            }
            distance += step;
            value = NextTokenValue(cell);
        }
        return hasCellRecord ? cellIndex : index;
    }

    const std::vector<DecoderRecord>& m_records;
    CQelEns& m_ensemble;
    CTextLineReader& m_ascii;
    std::string m_line;
    CTokenCursor m_tokens{std::string_view{}};
    bool m_bNeedLine = false;
    bool m_bCarryPending = false;
    double m_dCarry = 0.0;
    double m_dKeptScale = 1.0;
};

} // namespace

bool MergeEnsemble(const CDecoder& decoder, CQelEns& ensemble, CTextLineReader& ascii)
{
    return MergeWalk(decoder.m_records, ensemble, ascii).Run();
}
