// Loading a decoder file of any bytes ends with a message or with records
// that the converter and the merger can use as they are.
//
// Input: the decoder file.
#include "CBaseFile.h"
#include "CDecoder.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"

#include <string_view>

namespace {

bool Usable(const DecoderRecord& record)
{
    if (record.IsLineEnd())
        return true;
    const bool width = record.m_nWidth != 0 && record.m_nWidth >= -4 && record.m_nWidth <= 4;
    return width && record.m_nOffset != 0;
}

void RequireUsable(const CDecoder& decoder)
{
    fuzz::Require(decoder.m_records.size() >= 2, "a loaded decoder has two records at least");
    fuzz::Require(decoder.m_records.back().IsLineEnd(), "a loaded decoder ends with a line end");
    for (const DecoderRecord& record : decoder.m_records) {
        fuzz::Require(Usable(record), "every record has a width of 1 to 4 bytes and an offset");
        CDecoder::CellMask mask{};
        CDecoder::ParseCellList(record.m_strCellList, mask);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("decoder");
    const std::string path = workspace.Write("decoder.txt", fuzz::AsText(data, size));
    CBaseFile file;
    fuzz::Require(file.Open(path) == S_OK, "the decoder file opens");
    CDecoder decoder;
    if (decoder.Load(file))
        RequireUsable(decoder);
    return 0;
}
