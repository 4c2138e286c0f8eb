#include "CQelEnsFile.h"
#include "EnsembleBuilder.h"
#include "ReferenceScan.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <unistd.h>

using namespace ensemble_builder;

namespace {

class StreamMaker {
public:
    explicit StreamMaker(unsigned seed) : m_random(seed) {}

    std::size_t Below(std::size_t limit) { return std::uniform_int_distribution<std::size_t>(0, limit - 1)(m_random); }

    Bytes Garbage(std::size_t size)
    {
        Bytes bytes(size);
        for (std::uint8_t& byte : bytes) {
            // Plenty of header bytes, so false candidates are common.
            const std::size_t pick = Below(8);
            byte = pick == 0 ? 0x7F : pick == 1 ? 0x79 : static_cast<std::uint8_t>(Below(256));
        }
        return bytes;
    }

    Bytes Valid(std::size_t maxVelocity) { return Valid(maxVelocity, Below(4) == 0 ? kWavesId : kEnsembleId); }

    Bytes Valid(std::size_t maxVelocity, std::uint8_t headerId)
    {
        std::vector<DataType> types{VariableLeader(static_cast<std::uint32_t>(Below(1 << 24)))};
        for (std::size_t n = Below(3); n > 0; --n) {
            DataType type{static_cast<std::uint16_t>(Below(0x400)), Garbage(Below(maxVelocity))};
            types.push_back(type);
        }
        return BuildEnsemble(types, headerId);
    }

    Bytes Damaged(const Bytes& valid)
    {
        switch (Below(4)) {
        case 0: return WithBadChecksum(valid);
        case 1: return WithByteCount(valid, static_cast<std::uint32_t>(valid.size() - 2 + Below(40)) - 20);
        case 2: return Truncated(valid, Below(valid.size()));
        default: return WithByteCount(valid, static_cast<std::uint32_t>(Below(1200000)));
        }
    }

    Bytes Stream(bool large, int mode)
    {
        // A large stream begins with an ensemble the mode accepts, so giving
        // up does not end it early.
        std::vector<Bytes> pieces;
        if (large)
            pieces.push_back(Valid(400, mode == 1 ? kWavesId : kEnsembleId));
        const std::size_t count = large ? 400 : 5 + Below(40);
        const std::size_t maxVelocity = large ? 9000 : 400;
        for (std::size_t i = 0; i < count; ++i) {
            switch (Below(6)) {
            case 0: pieces.push_back(Garbage(Below(large ? 3000 : 60))); break;
            case 1: pieces.push_back(Damaged(Valid(maxVelocity))); break;
            default: pieces.push_back(Valid(maxVelocity)); break;
            }
        }
        return Concat(pieces);
    }

    // A run of one repeated false header whose claim reaches far ahead, so
    // most of the run's candidates are read in full and fail their checksum.
    Bytes FalseHeaders(std::size_t length)
    {
        const auto claim = static_cast<std::uint32_t>(100000 + Below(900001));
        const Bytes header{0x7F, static_cast<std::uint8_t>(Below(2) == 0 ? 0x7F : 0x79),
                           static_cast<std::uint8_t>(claim & 0xFF), static_cast<std::uint8_t>(claim >> 8 & 0xFF),
                           static_cast<std::uint8_t>(claim >> 16)};
        Bytes run;
        while (run.size() < length)
            run.insert(run.end(), header.begin(), header.end());
        return run;
    }

    // Damaged stretches of long false candidates between ensembles that
    // follow one another, some of them inside the stretches' claims.
    Bytes DamagedStream(int mode)
    {
        std::vector<Bytes> pieces{Valid(400, mode == 1 ? kWavesId : kEnsembleId)};
        for (std::size_t stretch = 1 + Below(3); stretch > 0; --stretch) {
            pieces.push_back(FalseHeaders(200 + Below(1800)));
            for (std::size_t n = Below(400); n > 0; --n)
                pieces.push_back(Below(8) == 0 ? Damaged(Valid(2000)) : Valid(2000));
        }
        return Concat(pieces);
    }

    std::vector<Bytes> Parts(const Bytes& stream)
    {
        std::vector<std::size_t> cuts;
        for (std::size_t n = Below(6); n > 0; --n)
            cuts.push_back(Below(stream.size() + 1));
        if (Below(3) == 0)
            cuts.push_back(cuts.empty() ? 0 : cuts.back()); // an empty part
        std::sort(cuts.begin(), cuts.end());
        return CutAt(stream, cuts);
    }

private:
    std::mt19937 m_random;
};

std::vector<ScannedEnsemble> ReadThroughFile(const std::string& firstPart, int mode, const Bytes& stream,
                                   std::uint64_t length)
{
    CQelEnsFile file(mode);
    EXPECT_EQ(file.Open(firstPart), S_OK);
    EXPECT_EQ(file.GetTotalLength(), length);
    std::vector<ScannedEnsemble> found;
    while (int size = file.ReadNextEnsemble()) {
        const std::uint64_t after = file.GetPosition();
        const std::size_t start = after - static_cast<std::size_t>(size);
        EXPECT_TRUE(std::equal(file.m_pEnsemble, file.m_pEnsemble + size, stream.begin() + static_cast<std::ptrdiff_t>(start)));
        found.push_back({start, static_cast<std::size_t>(size), after});
    }
    EXPECT_EQ(file.GetReadError(), S_OK);
    return found;
}

// The same, with the stream arriving through a pipe (no length, no seeking).
std::vector<ScannedEnsemble> ReadThroughPipe(int mode, const Bytes& stream)
{
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    std::thread writer([&stream, in = ends[1]] {
        for (std::size_t done = 0; done < stream.size();) {
            const ssize_t n = ::write(in, stream.data() + done, stream.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(in);
    });
    std::vector<ScannedEnsemble> found = ReadThroughFile("/dev/fd/" + std::to_string(ends[0]), mode, stream, 0);
    ::close(ends[0]);
    writer.join();
    return found;
}

void ExpectSameEnsembles(const std::vector<ScannedEnsemble>& actual, const std::vector<ScannedEnsemble>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "ensemble " << i;
}

void CompareWithReference(unsigned seed, bool large)
{
    SCOPED_TRACE(seed);
    StreamMaker maker(seed);
    const int mode = static_cast<int>(maker.Below(3));
    const Bytes stream = maker.Stream(large, mode);
    const PartNaming naming = maker.Below(2) == 0 ? PartNaming::Title : PartNaming::Extension;
    TempDir dir;
    auto paths = WritePartChain(dir, "rec", ".ens", naming, maker.Parts(stream));
    ExpectSameEnsembles(ReadThroughFile(paths[0], mode, stream, stream.size()), ReferenceScan(stream, mode));
}

void CompareDamagedWithReference(unsigned seed)
{
    SCOPED_TRACE(seed);
    StreamMaker maker(seed);
    const int mode = static_cast<int>(maker.Below(3));
    const Bytes stream = maker.DamagedStream(mode);
    TempDir dir;
    auto paths = WritePartChain(dir, "rec", ".ens", PartNaming::Title, maker.Parts(stream));
    const std::vector<ScannedEnsemble> expected = ReferenceScan(stream, mode);
    ExpectSameEnsembles(ReadThroughFile(paths[0], mode, stream, stream.size()), expected);
    ExpectSameEnsembles(ReadThroughPipe(mode, stream), expected);
}

} // namespace

TEST(EnsembleReaderRandom, SmallChainsMatchTheByteScan)
{
    for (unsigned seed = 1; seed <= 300; ++seed)
        CompareWithReference(seed, false);
}

TEST(EnsembleReaderRandom, LargeChainsMatchTheByteScan)
{
    for (unsigned seed = 1001; seed <= 1006; ++seed)
        CompareWithReference(seed, true);
}

TEST(EnsembleReaderRandom, LongFalseCandidatesMatchTheByteScanFromFilesAndPipes)
{
    for (unsigned seed = 2001; seed <= 2012; ++seed)
        CompareDamagedWithReference(seed);
}
