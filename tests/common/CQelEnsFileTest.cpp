#include "CQelEns.h"
#include "CQelEnsFile.h"
#include "EnsembleBuilder.h"
#include "Messages.h"
#include "RunFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace ensemble_builder;

namespace {

struct Returned {
    Bytes ensemble;
    std::uint64_t positionAfter;
};

std::vector<Returned> ReadAll(CQelEnsFile& file)
{
    std::vector<Returned> all;
    while (int size = file.ReadNextEnsemble()) {
        EXPECT_EQ(size, file.GetEnsembleSize());
        all.push_back({Bytes(file.m_pEnsemble, file.m_pEnsemble + size), file.GetPosition()});
    }
    EXPECT_EQ(file.m_pEnsemble, nullptr);
    return all;
}

std::vector<Returned> ReadStream(const Bytes& stream, int mode = 0)
{
    TempDir dir;
    WriteFileBytes(dir.File("stream.ens"), stream);
    CQelEnsFile file(mode);
    EXPECT_EQ(file.Open(dir.File("stream.ens")), S_OK);
    return ReadAll(file);
}

std::vector<Bytes> EnsemblesOf(const std::vector<Returned>& returned)
{
    std::vector<Bytes> ensembles;
    for (const Returned& r : returned)
        ensembles.push_back(r.ensemble);
    return ensembles;
}

// An ensemble without a 0x7F byte after its header, so counted scans are exact.
Bytes PlainEnsemble(std::size_t payload)
{
    return BuildEnsemble({DataType{0x0200, Bytes(payload, 0)}});
}

} // namespace

TEST(CQelEnsFile, EnsemblesSeparatedByZerosAndTheirPositions)
{
    Bytes one = TypicalEnsemble(1);
    Bytes two = TypicalEnsemble(2, 400);
    auto returned = ReadStream(Concat({one, Bytes(10, 0), two}));
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(returned[0].ensemble, one);
    EXPECT_EQ(returned[0].positionAfter, one.size());
    EXPECT_EQ(returned[1].ensemble, two);
    EXPECT_EQ(returned[1].positionAfter, one.size() + 10 + two.size());
}

TEST(CQelEnsFile, ChecksumGettersFollowTheCurrentEnsemble)
{
    TempDir dir;
    Bytes one = TypicalEnsemble(7);
    WriteFileBytes(dir.File("a.ens"), one);
    CQelEnsFile file;
    EXPECT_EQ(file.GetEnsembleSize(), 0);
    EXPECT_EQ(file.GetStoredChecksum(), 0);
    ASSERT_EQ(file.Open(dir.File("a.ens")), S_OK);
    ASSERT_EQ(file.ReadNextEnsemble(), static_cast<int>(one.size()));
    EXPECT_TRUE(file.m_bFoundEnsemble);
    EXPECT_EQ(file.ComputeChecksum(), Checksum(one));
    EXPECT_EQ(file.GetStoredChecksum(), Checksum(one));
    file.Close();
    EXPECT_EQ(file.m_pEnsemble, nullptr);
    EXPECT_EQ(file.ReadNextEnsemble(), 0);
}

TEST(CQelEnsFile, DamagedEnsembleIsSkippedAndAnEnsembleInsideItIsFound)
{
    Bytes inner = TypicalEnsemble(5, 20);
    // An outer candidate whose body holds a complete valid ensemble.
    Bytes outer = BuildEnsemble({DataType{0x0200, Concat({Bytes(3, 1), inner, Bytes(4, 2)})}});
    Bytes after = TypicalEnsemble(6);
    auto returned = ReadStream(Concat({WithBadChecksum(outer), after}));
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(returned[0].ensemble, inner);
    EXPECT_EQ(returned[0].positionAfter, 6 + 2 + 2 + 3 + inner.size());
    EXPECT_EQ(returned[1].ensemble, after);
}

TEST(CQelEnsFile, TripleHeaderByteTriesThePairAfterTheRejectedOne)
{
    Bytes valid = TypicalEnsemble(3);
    auto returned = ReadStream(Concat({Bytes{0x7F}, valid}));
    ASSERT_EQ(returned.size(), 1u);
    EXPECT_EQ(returned[0].ensemble, valid);
}

TEST(CQelEnsFile, SizesOutsideTheAcceptedRangeAreRejected)
{
    Bytes valid = TypicalEnsemble(9);
    Bytes tooSmall = Truncated(WithByteCount(PlainEnsemble(4), 3), 5);
    Bytes tooLarge = Truncated(WithByteCount(PlainEnsemble(4), 999999), 5);
    // The smallest ensemble that can pass: its checksum overlaps the type count.
    Bytes smallest{0x7F, 0x7F, 5, 0, 0, 0, 0};
    StoreChecksum(smallest);
    auto returned = ReadStream(Concat({tooSmall, tooLarge, valid, smallest}));
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(returned[0].ensemble, valid);
    EXPECT_EQ(returned[1].ensemble, smallest);
    EXPECT_EQ(CQelEns(returned[1].ensemble.data()).FindDataType(0x0303), nullptr);
}

TEST(CQelEnsFile, HeaderModes)
{
    Bytes ensemble = TypicalEnsemble(1);
    Bytes waves = BuildEnsemble({PatternType(0x0103, 30)}, kWavesId);
    Bytes stream = Concat({ensemble, waves, ensemble});
    EXPECT_EQ(EnsemblesOf(ReadStream(stream, 0)), (std::vector<Bytes>{ensemble, ensemble}));
    EXPECT_EQ(EnsemblesOf(ReadStream(stream, 1)), (std::vector<Bytes>{waves}));
    EXPECT_EQ(EnsemblesOf(ReadStream(stream, 2)), (std::vector<Bytes>{ensemble, waves, ensemble}));
}

TEST(CQelEnsFile, LargeEnsembleSplitAcrossParts)
{
    TempDir dir;
    Bytes large = BuildEnsemble({VariableLeader(12), PatternType(kVelocityId, 70000 - 6 - 4 - 65 - 2)});
    ASSERT_EQ(large.size(), 70000u);
    ASSERT_EQ(large[4], 1);
    Bytes small = TypicalEnsemble(13);
    Bytes stream = Concat({small, large, small});
    auto paths = WritePartChain(dir, "LOG", "", PartNaming::Extension,
                                CutAt(stream, {small.size() + 3, small.size() + 3, small.size() + 40000}));
    CQelEnsFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    auto returned = ReadAll(file);
    ASSERT_EQ(returned.size(), 3u);
    EXPECT_EQ(returned[1].ensemble, large);
    EXPECT_EQ(returned[1].positionAfter, small.size() + large.size());
    EXPECT_EQ(returned[2].positionAfter, stream.size());
}

TEST(CQelEnsFile, EnsemblesAcrossReadAheadBlocksAndPartsComeWholeInOrder)
{
    std::vector<Bytes> ensembles;
    std::size_t size = 0;
    for (std::uint32_t number = 0; size < (13 << 20); ++number) {
        ensembles.push_back(TypicalEnsemble(number, 100 + (number * 997) % 6000));
        size += ensembles.back().size();
    }
    const Bytes stream = Concat(ensembles);
    TempDir dir;
    auto paths = WritePartChain(dir, "run", ".ens", PartNaming::Title,
                                CutAt(stream, {(4 << 20) + 3, (9 << 20) + 5}));
    CQelEnsFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    const std::vector<Returned> returned = ReadAll(file);
    EXPECT_EQ(EnsemblesOf(returned), ensembles);
    ASSERT_FALSE(returned.empty());
    EXPECT_EQ(returned.back().positionAfter, stream.size());
    EXPECT_EQ(file.GetReadError(), S_OK);
}

TEST(CQelEnsFile, TruncatedLastEnsembleIsNotReturned)
{
    Bytes one = TypicalEnsemble(1);
    Bytes two = TypicalEnsemble(2);
    auto returned = ReadStream(Concat({one, Truncated(two, two.size() - 1)}));
    ASSERT_EQ(returned.size(), 1u);
    EXPECT_EQ(returned[0].ensemble, one);
    EXPECT_TRUE(ReadStream(Truncated(two, 4)).empty());
}

// Before the first valid ensemble, 262,140 scanned bytes are allowed; the
// header pair of the ensemble is among them.
TEST(CQelEnsFile, GiveUpAtItsExactBoundary)
{
    Bytes valid = TypicalEnsemble(1);
    EXPECT_EQ(ReadStream(Concat({Bytes(262138, 0), valid})).size(), 1u);
    EXPECT_TRUE(ReadStream(Concat({Bytes(262139, 0), valid})).empty());
}

TEST(CQelEnsFile, RejectedBodiesAndRescannedBytesCountTowardsGivingUp)
{
    // 2 header bytes + 101 body bytes of the damaged candidate, then its 105
    // bytes after the first 0x7F scanned again: 208 counted.
    Bytes damaged = WithBadChecksum(PlainEnsemble(94));
    ASSERT_EQ(damaged.size(), 106u);
    Bytes valid = TypicalEnsemble(1);
    EXPECT_EQ(ReadStream(Concat({damaged, Bytes(262140 - 208 - 2, 0), valid})).size(), 1u);
    EXPECT_TRUE(ReadStream(Concat({damaged, Bytes(262140 - 208 - 1, 0), valid})).empty());
}

TEST(CQelEnsFile, GarbageAfterTheFirstEnsembleIsSkipped)
{
    Bytes one = TypicalEnsemble(1);
    Bytes two = TypicalEnsemble(2);
    auto returned = ReadStream(Concat({one, Bytes(300000, 0), two}));
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(returned[1].ensemble, two);
}

TEST(CQelEnsFile, ReopeningRestoresTheGiveUpRule)
{
    TempDir dir;
    Bytes one = TypicalEnsemble(1);
    WriteFileBytes(dir.File("a.ens"), one);
    WriteFileBytes(dir.File("b.ens"), Concat({Bytes(300000, 0), one}));
    CQelEnsFile file;
    ASSERT_EQ(file.Open(dir.File("a.ens")), S_OK);
    ASSERT_NE(file.ReadNextEnsemble(), 0);
    ASSERT_EQ(file.Open(dir.File("b.ens")), S_OK);
    EXPECT_FALSE(file.m_bFoundEnsemble);
    EXPECT_EQ(file.ReadNextEnsemble(), 0);
}

TEST(CQelEnsFile, ResynchronisingInsideTheBufferNeedsNoReopen)
{
    // The file is gone from its directory once open: a reopen by name would
    // fail, so finding both ensembles shows the scan went back in memory.
    TempDir dir;
    Bytes one = TypicalEnsemble(1);
    Bytes two = TypicalEnsemble(2);
    WriteFileBytes(dir.File("a.ens"), Concat({WithBadChecksum(one), two, WithBadChecksum(one), one}));
    CQelEnsFile file;
    ASSERT_EQ(file.Open(dir.File("a.ens")), S_OK);
    std::remove(dir.File("a.ens").c_str());
    EXPECT_EQ(EnsemblesOf(ReadAll(file)), (std::vector<Bytes>{two, one}));
}

TEST(CQelEnsFile, RejectedCandidateLongerThanTheBufferResumesAfterItsHeader)
{
    // After a first ensemble, a damaged header claims 900,000 bytes; the
    // ensembles it swallows are still found after going back.
    Bytes claim = Truncated(WithByteCount(PlainEnsemble(4), 899998), 5);
    std::vector<Bytes> expected{TypicalEnsemble(99)};
    std::vector<Bytes> pieces{expected[0], claim};
    for (std::uint32_t n = 0; expected.size() * 250 < 1000000; ++n) {
        expected.push_back(TypicalEnsemble(n, 100));
        pieces.push_back(expected.back());
    }
    TempDir dir;
    auto paths = WritePartChain(dir, "big", ".ens", PartNaming::Title, CutAt(Concat(pieces), {300000, 600000}));
    CQelEnsFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    auto returned = ReadAll(file);
    EXPECT_EQ(returned.size(), expected.size());
    EXPECT_TRUE(EnsemblesOf(returned) == expected);
}

TEST(CQelEnsFile, ChangingTheHandedEnsembleNeverChangesTheFile)
{
    // The ensemble lies in the reader's buffer; a run may change it, the
    // recording stays as it was.
    TempDir dir;
    const Bytes stream = Concat({TypicalEnsemble(1), TypicalEnsemble(2)});
    WriteFileBytes(dir.File("a.ens"), stream);
    CQelEnsFile file;
    ASSERT_EQ(file.Open(dir.File("a.ens")), S_OK);
    while (int size = file.ReadNextEnsemble())
        std::fill(file.m_pEnsemble, file.m_pEnsemble + size, 0xEE);
    file.Close();
    EXPECT_EQ(ReadFileBytes(dir.File("a.ens")), stream);
}

TEST(CQelEnsFile, AFailedReadStaysFailedAfterASeek)
{
    // Reading this process's memory from address 0 fails: a regular file
    // whose read fails at once.
    const std::string failing = "/proc/self/mem";
    CQelEnsFile file;
    ASSERT_EQ(file.Open(failing), S_OK);
    EXPECT_EQ(file.ReadNextEnsemble(), 0);
    const HRESULT readError = file.GetReadError();
    ASSERT_TRUE(FAILED(readError));

    ASSERT_EQ(file.Seek(0, 0), S_OK);
    EXPECT_EQ(file.GetReadError(), readError);
    platform::RecordingMessageBackend messages;
    EXPECT_FALSE(InputReadToItsEnd(file, failing));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Cannot read file /proc/self/mem: Input/output error."});

    // Only opening again starts without the failure.
    TempDir dir;
    WriteFileBytes(dir.File("good.ens"), TypicalEnsemble(1));
    ASSERT_EQ(file.Open(dir.File("good.ens")), S_OK);
    EXPECT_EQ(file.GetReadError(), S_OK);
}
