#include "CConversionRun.h"
#include "CMergeRun.h"

#include "EnsembleBuilder.h"
#include "IProgress.h"
#include "Messages.h"
#include "QuentaTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ensemble_builder;

namespace {

// Every byte of data type 0x0100 after its id is covered by one record:
// each width signed and unsigned, scaled values with enough decimals, a '+'
// pair and, last in its line, a cell run that fills the type to its end.
const char* const kDecoder =
    "0100,3,1\r\n"
    "0100,4,2\r\n"
    "0100,6,4\r\n"
    "0100,10,-1\r\n"
    "0100,11,-2\r\n"
    "0100,13,-4\r\n"
    "0100,17,2,0.01,2\r\n"
    "0100,19,-4,0.001,3\r\n"
    "0100,23,2,1,0,+\r\n"
    "0100,25,1,65536,0\r\n"
    "$L\r\n"
    "$P0100,26,1,1\r\n"
    "0100,27,1\r\n"
    "$L\r\n";

constexpr std::size_t kCellCount = 10;
constexpr std::size_t kCountByte = 25; // payload index of the "$P" record's byte 26
constexpr std::size_t kPayloadSize = 23 + 1 + kCellCount;

Bytes Payload(std::mt19937& random)
{
    Bytes payload(kPayloadSize);
    for (std::uint8_t& byte : payload)
        byte = static_cast<std::uint8_t>(random());
    payload[kCountByte - 2] = kCellCount;
    return payload;
}

// The same ensemble with every value byte cleared; only the cell count stays.
Bytes Cleared(std::uint32_t number)
{
    Bytes payload(kPayloadSize, 0);
    payload[kCountByte - 2] = kCellCount;
    return BuildEnsemble({VariableLeader(number), DataType{0x0100, payload}});
}

} // namespace

TEST(QuentaRoundTrip, MergingTheConvertedTextRestoresEveryByte)
{
    platform::RecordingMessageBackend messages;
    TempDir dir;
    std::mt19937 random(20240611);
    std::vector<Bytes> original;
    std::vector<Bytes> cleared;
    for (std::uint32_t number = 1; number <= 200; ++number) {
        original.push_back(BuildEnsemble({VariableLeader(number), DataType{0x0100, Payload(random)}}));
        cleared.push_back(Cleared(number));
    }
    WriteFileBytes(dir.File("original.bin"), Concat(original));
    WriteFileBytes(dir.File("cleared.bin"), Concat(cleared));
    WriteFileText(dir.File("all.dec"), kDecoder);

    NullProgress progress;
    CConversionRun convert({dir.File("original.bin"), dir.File("values.txt"), dir.File("all.dec"), "0", "0"});
    ASSERT_TRUE(convert.OpenFiles());
    ASSERT_TRUE(convert.Convert(progress));
    CMergeRun merge({dir.File("cleared.bin"), dir.File("merged.bin"), dir.File("all.dec"),
                     dir.File("values.txt"), "0", "0"});
    ASSERT_TRUE(merge.Open());
    EXPECT_EQ(merge.Merge(progress), CMergeRun::Outcome::NormalEnd);
    EXPECT_TRUE(messages.Texts().empty());
    const Bytes merged = ReadFileBytes(dir.File("merged.bin"));
    const Bytes expected = Concat(original);
    ASSERT_EQ(merged.size(), expected.size());
    const auto difference = std::mismatch(merged.begin(), merged.end(), expected.begin());
    EXPECT_TRUE(difference.first == merged.end())
        << "first difference at byte " << (difference.first - merged.begin()) << " of ensembles "
        << original.front().size() << " bytes long";
}
