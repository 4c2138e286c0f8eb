#include "CDecoder.h"
#include "CEnsembleDecoding.h"
#include "CQelEns.h"
#include "CRunOutput.h"
#include "EnsembleBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace ensemble_builder;

constexpr std::uint16_t kProfileId = 0x0100;

// An ensemble with one data type 0x0100 whose bytes from position 3 on (the
// first two are its id) are `payload`.
Bytes WithProfile(const Bytes& payload)
{
    return BuildEnsemble({VariableLeader(1), DataType{kProfileId, payload}});
}

std::string Decode(const std::vector<std::string>& decoderLines, const std::vector<Bytes>& ensembles)
{
    CDecoder decoder;
    for (const std::string& line : decoderLines)
        EXPECT_TRUE(decoder.ParseLine(line)) << line;
    TempDir dir;
    CRunOutput output;
    EXPECT_TRUE(output.Create(dir.File("out.txt")));
    CEnsembleDecoding decoding(decoder);
    for (Bytes ensemble : ensembles) {
        const CQelEns view(ensemble.data());
        EXPECT_TRUE(decoding.DecodeEnsemble(view, output));
    }
    EXPECT_TRUE(decoding.FlushOutput(output));
    EXPECT_TRUE(output.Finish());
    return ReadFileText(dir.File("out.txt"));
}

std::string DecodeOne(const std::vector<std::string>& decoderLines, const Bytes& payload)
{
    return Decode(decoderLines, {WithProfile(payload)});
}

TEST(DecodeEnsemble, WidthsAndSigns)
{
    EXPECT_EQ(Decode({"0080,3,2", "$L"}, {BuildEnsemble({DataType{0x0080, {0x34, 0x12}}})}), "4660\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,-2", "0100,3,2", "$L"}, {0xFE, 0xFF}), "-2,65534\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,-3", "0100,3,3", "$L"}, {0x00, 0x00, 0x80}), "-8388608,8388608\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,4", "0100,3,-4", "$L"}, {0xFF, 0xFF, 0xFF, 0xFF}), "4294967295,-1\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,-1", "0100,3,1", "0100,4,1", "$L"}, {0x80, 0x7F}), "-128,128,127\r\n");
}

TEST(DecodeEnsemble, ScaleAndDecimals)
{
    EXPECT_EQ(DecodeOne({"0100,3,1,0.5,1", "$L"}, {0x03}), "1.5\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,1,1.0,3", "$L"}, {0x07}), "7\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,1,0.01", "$L"}, {0x07}), "0.07000000\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,-2,0.1,2", "$L"}, {0xFE, 0xFF}), "-0.20\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,4,2,0", "$L"}, {0xFF, 0xFF, 0xFF, 0xFF}), "8589934590\r\n");
    EXPECT_EQ(DecodeOne({"0100,3,1,0.5,-3", "$L"}, {0x05}), "2\r\n"); // half to even, no decimals
}

TEST(DecodeEnsemble, SumsCarryIntoTheNextPresentRecord)
{
    EXPECT_EQ(DecodeOne({"0100,3,1,1,0,+", "0100,4,1,0.01,2", "$L"}, {12, 34}), "12.34\r\n");
    // Only the second of two '+' values reaches the sum.
    EXPECT_EQ(DecodeOne({"0100,3,1,1,0,+", "0100,4,1,1,0,+", "0100,5,1,1,1", "$L"}, {100, 20, 3}),
              "23.0\r\n");
    // A missing '+' record is an empty field, not a pending sum.
    EXPECT_EQ(DecodeOne({"0300,3,1,1,0,+", "0100,3,1", "$L"}, {9}), ",9\r\n");
    // A '+' before a line end is added to the first present record of the next line.
    EXPECT_EQ(DecodeOne({"0100,3,1,1,0,+", "$L", "0300,3,1", "0100,4,1", "$L"}, {5, 6}), "\r\n,11\r\n");
}

TEST(DecodeEnsemble, CellRecordsRepeatTheNextRecord)
{
    Bytes profile(18, 0); // a data type of 20 bytes
    profile[0] = 3;       // position 3: the count
    for (std::size_t position = 5; position <= 19; position += 4)
        profile[position - 3] = static_cast<std::uint8_t>(position);
    EXPECT_EQ(DecodeOne({"$P0100,3,1,4", "0100,5,2", "$L"}, profile), "5,9,13\r\n");
    EXPECT_EQ(DecodeOne({"$P0100,3,1,4,(1,3)", "0100,5,2", "$L"}, profile), "5,13\r\n");
    // The third repetition (position 21) lies past the data type.
    EXPECT_EQ(DecodeOne({"$P0100,3,1,8", "0100,5,2", "$L"}, profile), "5,13,\r\n");

    profile[0] = 0;
    EXPECT_EQ(DecodeOne({"0100,4,1", "$P0100,3,1,4", "0100,5,2", "0100,4,1", "$L"}, profile), "0,0\r\n");
}

TEST(DecodeEnsemble, CellCountStopsAt255)
{
    Bytes profile(300, 1);
    profile[0] = 0x2C; // 300
    profile[1] = 0x01;
    const std::string line = DecodeOne({"$P0100,3,2,1", "0100,5,1", "$L"}, profile);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 254);
}

TEST(DecodeEnsemble, MissingDataAndShortFieldsGiveEmptyFields)
{
    EXPECT_EQ(DecodeOne({"0300,3,1", "0100,3,1", "0100,4,1", "$L"}, {5, 7}), ",5,7\r\n");
    EXPECT_EQ(DecodeOne({"0100,9,1", "0100,3,1", "$L"}, {5, 7}), ",5\r\n");
    // A field that starts inside its data type but runs past it is not read.
    EXPECT_EQ(DecodeOne({"0100,4,2", "0100,4,1", "$L"}, {5, 7}), ",7\r\n");
    // A missing cell record prints one empty field; the next prints as usual.
    EXPECT_EQ(DecodeOne({"$P0300,3,1,4", "0100,3,1", "$L"}, {5}), ",5\r\n");
    EXPECT_EQ(Decode({"$L", "$L"}, {WithProfile({1}), WithProfile({2})}), "\r\n\r\n\r\n\r\n");
}

TEST(DecodeEnsemble, DataTypeFffeIsAnOrdinaryType)
{
    EXPECT_EQ(Decode({"FFFE,3,1", "$L"}, {BuildEnsemble({DataType{0xFFFE, {42}}})}), "42\r\n");
}

TEST(DecodeEnsemble, LinesOfSeveralEnsemblesFollowEachOther)
{
    Bytes big(70000, 0);
    std::vector<Bytes> ensembles(40, WithProfile(big));
    const std::string text = Decode({"0100,3,1", "0100,4,1", "$L"}, ensembles);
    std::string expected;
    for (int i = 0; i < 40; ++i)
        expected += "0,0\r\n";
    EXPECT_EQ(text, expected);
}

TEST(DecodeEnsemble, WriteFailureIsReported)
{
    CDecoder decoder;
    ASSERT_TRUE(decoder.ParseLine("0100,3,1"));
    ASSERT_TRUE(decoder.ParseLine("$L"));
    CRunOutput full;
    if (!full.Create("/dev/full"))
        GTEST_SKIP() << "/dev/full is not available";
    Bytes ensemble = WithProfile({1});
    const CQelEns view(ensemble.data());
    CEnsembleDecoding decoding(decoder);
    bool ok = true;
    // Lines are collected in blocks: the failure shows at a block or at the final flush.
    for (int i = 0; i < 100000 && ok; ++i)
        ok = decoding.DecodeEnsemble(view, full);
    EXPECT_FALSE(ok && decoding.FlushOutput(full));
}

} // namespace
