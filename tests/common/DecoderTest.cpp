#include "CBaseFile.h"
#include "CDecoder.h"
#include "HexToInt.h"
#include "Messages.h"
#include "TempDir.h"
#include "TextLineLimit.h"

#include <gtest/gtest.h>

namespace {

using platform::RecordingMessageBackend;

DecoderRecord ParseOne(const std::string& line)
{
    CDecoder decoder;
    EXPECT_TRUE(decoder.ParseLine(line)) << line;
    EXPECT_EQ(decoder.m_records.size(), 1u) << line;
    return decoder.m_records.empty() ? DecoderRecord{} : decoder.m_records.front();
}

struct LoadResult {
    bool ok;
    std::vector<std::string> messages;
    std::vector<DecoderRecord> records;
};

LoadResult LoadText(const std::string& text)
{
    TempDir dir;
    WriteFileText(dir.File("d.dec"), text);
    CBaseFile file;
    EXPECT_EQ(file.Open(dir.File("d.dec")), S_OK);
    RecordingMessageBackend messages;
    CDecoder decoder;
    const bool ok = decoder.Load(file);
    return {ok, messages.Texts(), decoder.m_records};
}

std::vector<int> SelectedCells(const std::string& list)
{
    CDecoder::CellMask mask;
    mask.fill(7);
    CDecoder::ParseCellList(list, mask);
    std::vector<int> cells;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        EXPECT_TRUE(mask[i] == 0 || mask[i] == 1);
        if (mask[i])
            cells.push_back(static_cast<int>(i) + 1);
    }
    return cells;
}

TEST(HexToInt, ReadsDigitsOfEitherCaseAndRefusesOthers)
{
    EXPECT_EQ(HexToInt("0080"), 0x80);
    EXPECT_EQ(HexToInt("aBcD"), 0xABCD);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt("12G4"), -1);
    EXPECT_EQ(HexToInt(" 12"), -1);
    EXPECT_EQ(HexToInt("1FFFFFFFF"), -1); // wraps to all ones
}

TEST(DecoderParseLine, PlainRecordTakesDefaults)
{
    const DecoderRecord r = ParseOne("0080,3,2 ; ensemble number");
    EXPECT_EQ(r.m_nDataTypeId, 0x0080);
    EXPECT_EQ(r.m_nOffset, 3);
    EXPECT_EQ(r.m_nWidth, 2);
    EXPECT_EQ(r.m_dScale, 1.0);
    EXPECT_EQ(r.m_nDecimals, 0);
    EXPECT_EQ(r.m_cFlag, ' ');
    EXPECT_EQ(r.m_nCellStep, 0);
    EXPECT_FALSE(r.IsLineEnd());
}

TEST(DecoderParseLine, ScaleDecimalsAndFlag)
{
    const DecoderRecord scaled = ParseOne("0080,3,2,0.01");
    EXPECT_DOUBLE_EQ(scaled.m_dScale, 0.01);
    EXPECT_EQ(scaled.m_nDecimals, 8);
    EXPECT_EQ(ParseOne("0080,3,2,0.01,2").m_nDecimals, 2);

    const DecoderRecord summed = ParseOne("0080,3,-2,1,0,+");
    EXPECT_EQ(summed.m_nWidth, -2);
    EXPECT_EQ(summed.m_nDecimals, 0);
    EXPECT_EQ(summed.m_cFlag, '+');
    EXPECT_EQ(ParseOne("0080,3,2,,,x").m_cFlag, ' ');
    EXPECT_EQ(ParseOne("0080,3,2,,3").m_dScale, 1.0);
}

TEST(DecoderParseLine, NumbersReadLikeTheCLibrary)
{
    const DecoderRecord r = ParseOne("0100, 12abc,\t-1,2.5e1xyz,3junk");
    EXPECT_EQ(r.m_nOffset, 12);
    EXPECT_EQ(r.m_nWidth, -1);
    EXPECT_DOUBLE_EQ(r.m_dScale, 25.0);
    EXPECT_EQ(r.m_nDecimals, 3);
    EXPECT_EQ(ParseOne("0100,65537,1").m_nOffset, 1); // cut to 16 bits
    // Numbers past 32 bits stop at the limit instead of wrapping into range.
    EXPECT_EQ(ParseOne("0100,4294967297,1").m_nOffset, 0xFFFF);
    EXPECT_EQ(ParseOne("0100,3,2,,4294967298").m_nDecimals, 2147483647);
    CDecoder decoder;
    EXPECT_FALSE(decoder.ParseLine("0100,3,4294967298"));
}

TEST(DecoderParseLine, CellRecords)
{
    const DecoderRecord cells = ParseOne("$P0100,6,1,8,(1-3,5)");
    EXPECT_EQ(cells.m_nDataTypeId, 0x0100);
    EXPECT_EQ(cells.m_nOffset, 6);
    EXPECT_EQ(cells.m_nWidth, 1);
    EXPECT_EQ(cells.m_nCellStep, 8);
    EXPECT_EQ(cells.m_strCellList, "(1-3,5)");
    EXPECT_EQ(ParseOne("$P0100,6,1,8").m_strCellList, "");
    // Without a step it goes on as a plain record.
    const DecoderRecord plain = ParseOne("$P0100,6,1,,4");
    EXPECT_EQ(plain.m_nCellStep, 0);
    EXPECT_EQ(plain.m_nDecimals, 4);
}

TEST(DecoderParseLine, LineEndsCommentsAndBlanks)
{
    const DecoderRecord lineEnd = ParseOne("$L anything");
    EXPECT_TRUE(lineEnd.IsLineEnd());
    EXPECT_EQ(lineEnd.m_nOffset, 0);
    EXPECT_EQ(lineEnd.m_nWidth, 0);

    CDecoder decoder;
    EXPECT_TRUE(decoder.ParseLine(""));
    EXPECT_TRUE(decoder.ParseLine("\t "));
    EXPECT_TRUE(decoder.ParseLine("   "));
    EXPECT_TRUE(decoder.ParseLine("; only a comment"));
    EXPECT_TRUE(decoder.m_records.empty());
    EXPECT_EQ(ParseOne("0080,3,2  \t").m_nWidth, 2);

    // FFFE is an ordinary data type, not a line end.
    EXPECT_FALSE(ParseOne("FFFE,1,1").IsLineEnd());
}

TEST(DecoderParseLine, RejectsMalformedRecords)
{
    for (const char* line : {"080,3,2", "ZZZZ,3,2", "FFFF,3,2", "0080,0,2", "0080,3", "0080,,2",
                             "0080,3,5", "0080,3,0", "0080,3,-5", "0080,3,x", "$P080,3,2"}) {
        CDecoder decoder;
        EXPECT_FALSE(decoder.ParseLine(line)) << line;
        EXPECT_TRUE(decoder.m_records.empty()) << line;
    }
}

TEST(DecoderLoad, AcceptsEveryLineEndAndCountsLines)
{
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        const std::string e = eol;
        const LoadResult result = LoadText("; header" + e + e + "0080,3,2" + e + "$L" + e);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        ASSERT_EQ(result.records.size(), 2u);
        EXPECT_TRUE(result.records[1].IsLineEnd());

        const LoadResult bad = LoadText("0080,3,2" + e + e + "; c" + e + "0080,3,9" + e + "$L" + e);
        EXPECT_FALSE(bad.ok);
        ASSERT_EQ(bad.messages.size(), 1u);
        EXPECT_EQ(bad.messages[0], "Error in decoder file line number 4.");
        EXPECT_EQ(bad.records.size(), 1u); // lines after the bad one are unread
    }
}

TEST(DecoderLoad, LastLineWithoutLineEndStillCounts)
{
    EXPECT_TRUE(LoadText("0080,3,2\r\n$L").ok);
    const LoadResult bad = LoadText("0080,3,2\r\n$L\r\nbad");
    ASSERT_EQ(bad.messages.size(), 1u);
    EXPECT_EQ(bad.messages[0], "Error in decoder file line number 3.");
}

TEST(DecoderLoad, ALineLongerThanTheBoundIsThatLinesError)
{
    // A comment right at the bound is still a line; one byte more is not.
    const std::string atBound = "0080,3,2 ;" + std::string(kMaxTextLineBytes - 10, 'c');
    EXPECT_TRUE(LoadText("; a\r\n" + atBound + "\r\n$L\r\n").ok);
    for (const std::string& end : {std::string("\r\n$L\r\n"), std::string()}) {
        const LoadResult tooLong = LoadText("; a\r\n" + atBound + "c" + end);
        EXPECT_FALSE(tooLong.ok);
        EXPECT_EQ(tooLong.messages, std::vector<std::string>{"Error in decoder file line number 2."});
    }
}

TEST(DecoderLoad, RefusesFilesWithoutWork)
{
    const std::vector<std::string> noRecords = {"Decoder file does not contain any records to decode."};
    EXPECT_EQ(LoadText("").messages, noRecords);
    EXPECT_EQ(LoadText("$L\r\n").messages, noRecords);
    EXPECT_EQ(LoadText("; nothing\r\n").messages, noRecords);
    const LoadResult noFinal = LoadText("$L\r\n0080,3,2\r\n");
    EXPECT_FALSE(noFinal.ok);
    EXPECT_EQ(noFinal.messages, std::vector<std::string>{"Decoder file should contain $L as last line."});
    EXPECT_TRUE(LoadText("$L\r\n$L\r\n").ok);
}

TEST(DecoderCellList, SelectsCellsAndRanges)
{
    EXPECT_EQ(SelectedCells("(1,3-5,9)"), (std::vector<int>{1, 3, 4, 5, 9}));
    EXPECT_EQ(SelectedCells("(7)"), std::vector<int>{7});
    EXPECT_EQ(SelectedCells("[256]"), std::vector<int>{256});
    EXPECT_EQ(SelectedCells("(254-255)"), (std::vector<int>{254, 255}));
    EXPECT_TRUE(SelectedCells("()").empty());
    EXPECT_TRUE(SelectedCells("(3-3)").empty());
    EXPECT_TRUE(SelectedCells("(250-256)").empty());
    EXPECT_TRUE(SelectedCells("(0,257,-4,5-2)").empty());
    EXPECT_TRUE(SelectedCells("(4294967303,4294967297-4294967299)").empty());
    EXPECT_EQ(SelectedCells("").size(), 256u);
}

TEST(DecoderCellList, EmptyItemsAreSkipped)
{
    EXPECT_EQ(SelectedCells("(,2,,4,)"), (std::vector<int>{2, 4}));
}

} // namespace
