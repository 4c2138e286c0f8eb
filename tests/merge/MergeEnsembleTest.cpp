#include "CBaseFile.h"
#include "CDecoder.h"
#include "CQelEns.h"
#include "CTextLineReader.h"
#include "EnsembleMerge.h"
#include "EnsembleBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

using namespace ensemble_builder;

namespace {

constexpr std::uint16_t kValuesId = 0x0100;

// A decoder made of record lines, an ASCII file and the reader over it.
class MergeEnsembleTest : public ::testing::Test {
protected:
    void Decoder(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            ASSERT_TRUE(m_decoder.ParseLine(line)) << line;
    }

    void Ascii(const std::string& text)
    {
        WriteFileText(m_dir.File("values.txt"), text);
        ASSERT_EQ(m_file.Open(m_dir.File("values.txt")), S_OK);
        m_reader = std::make_unique<CTextLineReader>(m_file);
    }

    bool Merge(Bytes& ensemble)
    {
        CQelEns view(ensemble.data());
        return MergeEnsemble(m_decoder, view, *m_reader);
    }

    // An ensemble whose data type 0x0100 holds `size` bytes, id included, all 0.
    static Bytes Ensemble(std::size_t size = 10)
    {
        return BuildEnsemble({VariableLeader(1), DataType{kValuesId, Bytes(size - 2, 0)}});
    }

    // The bytes of data type 0x0100, id included.
    static Bytes Values(const Bytes& ensemble)
    {
        int size = 0;
        Bytes copy = ensemble;
        const std::uint8_t* start = CQelEns(copy.data()).FindDataType(kValuesId, &size);
        return Bytes(start, start + size);
    }

    static Bytes ValuesWith(std::initializer_list<std::uint8_t> payload, std::size_t size = 10)
    {
        Bytes values = {0x00, 0x01};
        values.insert(values.end(), payload);
        values.resize(size, 0);
        return values;
    }

    TempDir m_dir;
    CDecoder m_decoder;
    CBaseFile m_file;
    std::unique_ptr<CTextLineReader> m_reader;
};

} // namespace

TEST_F(MergeEnsembleTest, EachEnsembleTakesTheNextLineUntilTheFileRunsOut)
{
    Decoder({"0100,3,2", "$L"});
    Ascii("10\r\n20\r\n30\r\n");
    for (const std::uint8_t expected : {std::uint8_t{10}, std::uint8_t{20}, std::uint8_t{30}}) {
        Bytes ensemble = Ensemble();
        ASSERT_TRUE(Merge(ensemble));
        EXPECT_EQ(Values(ensemble), ValuesWith({expected, 0}));
    }
    Bytes fourth = Ensemble();
    EXPECT_FALSE(Merge(fourth));
}

TEST_F(MergeEnsembleTest, GroupsTakeOneLineEachAndSkippedGroupsStillReadTheirLine)
{
    Decoder({"0100,3,1", "$L", "0100,4,1", "$L"});
    Ascii("1\r\n2\r\n3\r\n4\r\n");
    Bytes first = Ensemble();
    ASSERT_TRUE(Merge(first));
    EXPECT_EQ(Values(first), ValuesWith({1, 2}));
    Bytes second = Ensemble();
    ASSERT_TRUE(Merge(second));
    EXPECT_EQ(Values(second), ValuesWith({3, 4}));

    CDecoder skipping;
    for (const char* line : {"$L", "$L", "0100,5,1", "$L"})
        ASSERT_TRUE(skipping.ParseLine(line));
    Ascii("\r\n\r\n9\r\n");
    Bytes third = Ensemble();
    CQelEns view(third.data());
    ASSERT_TRUE(MergeEnsemble(skipping, view, *m_reader));
    EXPECT_EQ(Values(third), ValuesWith({0, 0, 9}));
}

TEST_F(MergeEnsembleTest, AnEmptyLineIsUsedFirstButEndsTheMergeWhereALaterGroupBegins)
{
    Decoder({"0100,3,1", "$L", "0100,4,1", "$L"});
    Ascii("\r\n5\r\n7\r\n\r\n");
    Bytes ensemble = BuildEnsemble({DataType{kValuesId, Bytes(8, 0xEE)}});
    ASSERT_TRUE(Merge(ensemble));
    EXPECT_EQ(Values(ensemble)[2], 0);
    EXPECT_EQ(Values(ensemble)[3], 5);
    Bytes next = Ensemble();
    EXPECT_FALSE(Merge(next));
    EXPECT_EQ(Values(next)[2], 7);
}

TEST_F(MergeEnsembleTest, MissingTypesAndFieldsBeyondTheirTypeDropTheirToken)
{
    // Offset 10 of a 10-byte type with width 2 would reach past the type.
    Decoder({"0200,3,1", "0100,10,2", "0100,11,1", "0100,3,1", "$L"});
    Ascii("1,2,3,4\r\n");
    Bytes ensemble = Ensemble();
    const Bytes before = ensemble;
    ASSERT_TRUE(Merge(ensemble));
    EXPECT_EQ(Values(ensemble), ValuesWith({4}));
    EXPECT_EQ(Bytes(ensemble.end() - 2, ensemble.end()), Bytes(before.end() - 2, before.end()));
}

TEST_F(MergeEnsembleTest, PlusRecordsSplitTheirValueOverTwoFields)
{
    Decoder({"0100,3,2,1,0,+", "0100,5,1,65536", "$L",
             "0100,6,1,1,0,+", "0100,7,1,0.01", "$L"});
    Ascii("70000\r\n12.34\r\n");
    Bytes ensemble = Ensemble();
    ASSERT_TRUE(Merge(ensemble));
    // 70000 = 4464 + 1 * 65536; the whole-number reading of 12.34 leaves no carry.
    EXPECT_EQ(Values(ensemble), ValuesWith({0x70, 0x11, 1, 12, 0}));
}

TEST_F(MergeEnsembleTest, CellRecordsTakeTwoHundredFiftySixTokens)
{
    Decoder({"$P0100,3,1,1", "0100,3,1", "0080,13,2", "$L"});
    std::string line;
    for (int token = 1; token <= 257; ++token)
        line += std::to_string(token) + ",";
    Ascii(line + "\r\n");
    Bytes ensemble = Ensemble(12);
    ASSERT_TRUE(Merge(ensemble));
    // Cells from byte 3 to the type's last byte 12 take tokens 1 to 10;
    // token 256 is the last pass's, dropped, and 257 goes to the record after.
    EXPECT_EQ(Values(ensemble), (Bytes{0x00, 0x01, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    int leaderSize = 0;
    const std::uint8_t* leader = CQelEns(ensemble.data()).FindDataType(0x0080, &leaderSize);
    EXPECT_EQ(leader[12], 0x01);
    EXPECT_EQ(leader[13], 0x01);
}

TEST_F(MergeEnsembleTest, CellListsSelectCellsAndStepsSpaceThem)
{
    Decoder({"$P0100,3,1,2,(1,3)", "0100,3,-1", "$L"});
    std::string line = "-1,-2,-3";
    for (int token = 4; token <= 256; ++token)
        line += ",9";
    Ascii(line + ",100\r\n");
    Bytes ensemble = Ensemble();
    ASSERT_TRUE(Merge(ensemble));
    EXPECT_EQ(Values(ensemble), ValuesWith({0xFF, 0, 0, 0, 0xFD, 0}));
}

TEST_F(MergeEnsembleTest, CellsOfAnAbsentTypeOrALineEndWriteNothingButUseTheirTokens)
{
    Decoder({"$P0100,3,1,1", "0200,3,1", "0100,4,1", "$P0100,5,1,1", "$L", "0100,6,1", "$L"});
    std::string line;
    for (int token = 0; token < 256; ++token)
        line += "1,";
    line += "42,";
    for (int token = 0; token < 256; ++token)
        line += "2,";
    Ascii(line + "5\r\n77\r\n");
    Bytes ensemble = Ensemble();
    ASSERT_TRUE(Merge(ensemble));
    // The "$L" used as a cell record reads no line: the record after it
    // takes the same line's last token, and 77 is left for the next ensemble.
    EXPECT_EQ(Values(ensemble), ValuesWith({0, 42, 0, 5}));
    std::string next;
    ASSERT_TRUE(m_reader->ReadLine(next));
    EXPECT_EQ(next, "77");
}
