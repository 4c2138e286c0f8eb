#include "CDecoder.h"

#include "CBaseFile.h"
#include "CTextLineReader.h"
#include "Format.h"
#include "HexToInt.h"
#include "Messages.h"
#include "RunFiles.h"
#include "TextLineLimit.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

const char* const kMsgLineError = "Error in decoder file line number %d.";
const char* const kMsgNoFinalLineEnd = "Decoder file should contain $L as last line.";
const char* const kMsgNoRecords = "Decoder file does not contain any records to decode.";

// Read like atol with a 32-bit long: a number past that range reads as the
// nearest limit, so "4294967298" never wraps round to a valid width of 2.
std::int32_t ReadLong(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

int ReadInt(const std::string& text)
{
    return ReadLong(text);
}

// atof in the C locale, whatever locale the user runs the program in.
double ReadDouble(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// The text up to the next comma; `rest` keeps what follows that comma, or
// nothing when there is none.
std::string TakeField(std::string& rest)
{
    const std::size_t comma = rest.find(',');
    std::string field;
    if (comma == std::string::npos) {
        field.swap(rest);
    } else {
        field = rest.substr(0, comma);
        rest.erase(0, comma + 1);
    }
    return field;
}

void TrimRight(std::string& text, char c)
{
    const std::size_t last = text.find_last_not_of(c);
    text.erase(last == std::string::npos ? 0 : last + 1);
}

// Comment cut, then trailing blanks, then trailing tabs.
std::string CleanLine(const std::string& line)
{
    std::string text = line.substr(0, line.find(';'));
    TrimRight(text, ' ');
    TrimRight(text, '\t');
    return text;
}

void SelectRange(const std::string& item, std::size_t dash, CDecoder::CellMask& mask)
{
    const int first = ReadInt(item.substr(0, dash));
    const int last = ReadInt(item.substr(dash + 1));
    if (first > 0 && first < last && last <= 255) {
        for (int cell = first; cell <= last; ++cell)
            mask[static_cast<std::size_t>(cell - 1)] = 1;
    }
}

void SelectCell(const std::string& item, CDecoder::CellMask& mask)
{
    const int cell = ReadInt(item);
    if (cell >= 1 && cell <= 256)
        mask[static_cast<std::size_t>(cell - 1)] = 1;
}

} // namespace

CDecoder::~CDecoder() = default;

bool CDecoder::Load(CBaseFile& file)
{
    m_records.clear();
    int lineNumber = 0;
    std::string line;
    CTextLineReader reader(file);
    while (reader.ReadLine(line)) {
        if (!ProcessLine(line, ++lineNumber))
            return false;
    }
    if (reader.LineTooLong())
        return ProcessLine(line, ++lineNumber);
    if (FAILED(reader.ReadError())) {
        ShowCannotReadFile(file.m_strPath, reader.ReadError());
        return false;
    }
    if (!m_records.empty() && !m_records.back().IsLineEnd()) {
        platform::ShowMessage(kMsgNoFinalLineEnd);
        return false;
    }
    if (m_records.size() < 2) {
        platform::ShowMessage(kMsgNoRecords);
        return false;
    }
    return true;
}

bool CDecoder::ProcessLine(const std::string& line, int lineNumber)
{
    if (line.size() <= kMaxTextLineBytes && ParseLine(line))
        return true;
    platform::ShowMessage(platform::Format(kMsgLineError, lineNumber));
    return false;
}

bool CDecoder::ParseLine(const std::string& line)
{
    std::string text = CleanLine(line);
    if (text.empty())
        return true;
    if (text.starts_with("$L")) {
        m_records.emplace_back();
        return true;
    }
    const bool cellMode = text.starts_with("$P");
    if (cellMode)
        text.erase(0, 2);

    if (text.find(',') != 4)
        return false;
    const int id = HexToInt(std::string_view(text).substr(0, 4));
    if ((id & 0xFFFF) == 0xFFFF)
        return false;
    std::string rest = text.substr(5);

    const std::size_t offsetEnd = rest.find(',');
    if (offsetEnd == std::string::npos || offsetEnd == 0)
        return false;
    DecoderRecord record;
    record.m_nDataTypeId = static_cast<std::int16_t>(id);
    record.m_nOffset = static_cast<std::uint16_t>(ReadLong(rest.substr(0, offsetEnd)));
    if (record.m_nOffset == 0)
        return false;
    rest.erase(0, offsetEnd + 1);

    record.m_nWidth = ReadInt(TakeField(rest));
    if (record.m_nWidth < -4 || record.m_nWidth > 4 || record.m_nWidth == 0)
        return false;

    const std::string fourth = TakeField(rest);
    if (!fourth.empty()) {
        if (cellMode) {
            record.m_nCellStep = static_cast<std::int16_t>(ReadLong(fourth));
            record.m_strCellList = rest;
            m_records.push_back(record);
            return true;
        }
        record.m_dScale = ReadDouble(fourth);
        record.m_nDecimals = 8;
    }
    const std::string decimals = TakeField(rest);
    if (!decimals.empty())
        record.m_nDecimals = ReadInt(decimals);
    const std::string flag = TakeField(rest);
    if (!flag.empty() && flag.front() == '+')
        record.m_cFlag = '+';
    m_records.push_back(record);
    return true;
}

void CDecoder::ParseCellList(const std::string& cellList, CellMask& mask)
{
    mask.fill(0);
    if (cellList.empty()) {
        mask.fill(1);
        return;
    }
    // The enclosing brackets, whatever they are.
    std::string rest = cellList.size() >= 2 ? cellList.substr(1, cellList.size() - 2) : std::string();
    while (!rest.empty()) {
        const std::string item = TakeField(rest);
        if (item.empty())
            continue;
        const std::size_t dash = item.find('-', 1);
        if (dash != std::string::npos)
            SelectRange(item, dash, mask);
        else
            SelectCell(item, mask);
    }
}
