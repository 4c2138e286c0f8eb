#include "CMultiBaseFile.h"
#include "EnsembleBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace ensemble_builder;

namespace {

std::string NextOf(const std::string& path)
{
    CMultiBaseFile file;
    file.m_strPath = path;
    return file.GetNextPartName();
}

Bytes Sequence(std::size_t size, std::uint8_t first = 0)
{
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

Bytes ReadBytes(CMultiBaseFile& file, std::uint32_t count)
{
    Bytes bytes(count);
    std::uint32_t got = 0;
    EXPECT_EQ(file.Read(bytes.data(), count, &got), S_OK);
    bytes.resize(got);
    return bytes;
}

} // namespace

TEST(PartNames, TitleNumberingWinsOverExtensionNumbering)
{
    EXPECT_EQ(NextOf("/d/survey_000041.bin"), "/d/survey_000042.bin");
    EXPECT_EQ(NextOf("/d/abc_000001.txt"), "/d/abc_000002.txt");
    EXPECT_EQ(NextOf("/d/run_000001.003"), "/d/run_000002.003");
    EXPECT_EQ(NextOf("/d/data_999999.bin"), "");
    // The last number of the title form ends the chain even with a numbered extension.
    EXPECT_EQ(NextOf("/d/run_999999.003"), "");
}

TEST(PartNames, ExtensionNumbering)
{
    EXPECT_EQ(NextOf("/d/LOG.007"), "/d/LOG.008");
    EXPECT_EQ(NextOf("/d/LOG.099"), "/d/LOG.100");
    EXPECT_EQ(NextOf("/d/x.999"), "");
    // A title of only 7 characters is not numbered.
    EXPECT_EQ(NextOf("/d/_000001.012"), "/d/_000001.013");
}

TEST(PartNames, OtherNamesHaveNoNextPart)
{
    EXPECT_EQ(NextOf("/d/data_000001"), "");
    EXPECT_EQ(NextOf("/d/data_000001.dat1"), "");
    EXPECT_EQ(NextOf("/d/data_00001x.bin"), "");
    EXPECT_EQ(NextOf("/d/data-000001.bin"), "");
    EXPECT_EQ(NextOf("/d/LOG.0a7"), "");
    EXPECT_EQ(NextOf("/d.001/name"), "");
    EXPECT_EQ(NextOf("/d/x_000009.a.b"), "");
}

TEST(CMultiBaseFile, ChainStopsAtTheFirstGap)
{
    TempDir dir;
    auto paths = WritePartChain(dir, "data", ".bin", PartNaming::Title, {Sequence(10), Sequence(20), Sequence(5)});
    WriteFileBytes(dir.File("data_000004.bin"), Sequence(7));
    std::remove(paths[2].c_str());
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    ASSERT_EQ(file.m_parts.size(), 2u);
    EXPECT_EQ(file.m_parts[1].m_strName, paths[1]);
    EXPECT_EQ(file.m_parts[1].m_nSize, 20u);
    EXPECT_EQ(file.GetTotalLength(), 30u);
    EXPECT_EQ(ReadBytes(file, 100).size(), 30u);
}

TEST(CMultiBaseFile, ChainStartsAtTheNamedPart)
{
    TempDir dir;
    auto paths = WritePartChain(dir, "LOG", "", PartNaming::Extension, {Sequence(3), Sequence(4), Sequence(5)}, 7);
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[1]), S_OK);
    ASSERT_EQ(file.m_parts.size(), 2u);
    EXPECT_EQ(file.m_parts[0].m_strName, dir.File("LOG.008"));
    EXPECT_EQ(file.GetTotalLength(), 9u);
}

TEST(CMultiBaseFile, MissingFirstPartFailsAndClosedStreamRefusesReads)
{
    TempDir dir;
    CMultiBaseFile file;
    EXPECT_EQ(file.Open(dir.File("none_000001.bin")), static_cast<HRESULT>(0x80070002u));
    std::uint8_t byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), E_FAIL);
    EXPECT_EQ(file.Seek(0, 0), E_FAIL);
    EXPECT_EQ(file.GetTotalLength(), 0u);
}

TEST(CMultiBaseFile, ReadsCrossPartBoundaries)
{
    TempDir dir;
    Bytes stream = Sequence(3000, 1);
    auto paths = WritePartChain(dir, "run", ".bin", PartNaming::Title, CutAt(stream, {1000, 2000}));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    EXPECT_EQ(file.GetTotalLength(), 3000u);

    ASSERT_EQ(file.Seek(970, 0), S_OK);
    Bytes hundred = ReadBytes(file, 100);
    EXPECT_EQ(hundred, Bytes(stream.begin() + 970, stream.begin() + 1070));
    EXPECT_EQ(file.GetPosition(), 1070u);

    ASSERT_EQ(file.Seek(1999, 0), S_OK);
    EXPECT_EQ(ReadBytes(file, 1), Bytes{stream[1999]});
    EXPECT_EQ(ReadBytes(file, 1), Bytes{stream[2000]});

    // Back into the first part, then across both boundaries in one read.
    ASSERT_EQ(file.Seek(10, 0), S_OK);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(ReadBytes(file, 5000), Bytes(stream.begin() + 10, stream.end()));
    EXPECT_EQ(file.GetPosition(), 3000u);
    EXPECT_TRUE(ReadBytes(file, 10).empty());
}

TEST(CMultiBaseFile, EmptyPartsDoNotEndTheStream)
{
    TempDir dir;
    Bytes stream = Sequence(50);
    auto paths = WritePartChain(dir, "LOG", "", PartNaming::Extension, CutAt(stream, {0, 20, 20, 20, 50, 50}));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    EXPECT_EQ(file.m_parts.size(), 7u);
    EXPECT_EQ(ReadBytes(file, 60), stream);

    // A seek to the end of a part followed by empty parts still reads on.
    ASSERT_EQ(file.Seek(20, 0), S_OK);
    EXPECT_EQ(ReadBytes(file, 30), Bytes(stream.begin() + 20, stream.end()));
}

TEST(CMultiBaseFile, PositionAfterReadingIntoTheSecondPart)
{
    TempDir dir;
    auto paths = WritePartChain(dir, "data", ".bin", PartNaming::Title, {Sequence(1000), Sequence(500), Sequence(70)});
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    ReadBytes(file, 1000);
    ReadBytes(file, 10);
    EXPECT_EQ(file.GetPosition(), 1010u);
    EXPECT_EQ(file.GetTotalLength(), 1570u);
}

TEST(CMultiBaseFile, SeekOriginsAndLimits)
{
    TempDir dir;
    Bytes stream = Sequence(300);
    auto paths = WritePartChain(dir, "s", ".001", PartNaming::Title, CutAt(stream, {100, 200}));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    std::uint64_t position = 0;

    EXPECT_EQ(file.Seek(301, 0, &position), E_FAIL);
    EXPECT_EQ(file.Seek(-1, 0, &position), E_FAIL);
    EXPECT_EQ(file.Seek(300, 0, &position), S_OK);
    EXPECT_EQ(position, 300u);
    EXPECT_EQ(file.Seek(0, 3, &position), E_FAIL);

    ASSERT_EQ(file.Seek(150, 0), S_OK);
    EXPECT_EQ(file.Seek(-60, 1, &position), S_OK);
    EXPECT_EQ(position, 90u);
    EXPECT_EQ(ReadBytes(file, 1), Bytes{stream[90]});
    EXPECT_EQ(file.Seek(-10, 2, &position), S_OK);
    EXPECT_EQ(position, 290u);
    EXPECT_EQ(ReadBytes(file, 20), Bytes(stream.begin() + 290, stream.end()));
    EXPECT_EQ(file.Seek(1, 2), E_FAIL);
    EXPECT_EQ(file.Seek(-301, 2), E_FAIL);
    EXPECT_EQ(file.Seek(INT64_MAX, 1), E_FAIL);
}

TEST(CMultiBaseFile, ReadsBeyondTheBufferSizeStayInOrder)
{
    TempDir dir;
    Bytes stream(700 * 1024);
    for (std::size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
    auto paths = WritePartChain(dir, "big", ".bin", PartNaming::Title,
                                CutAt(stream, {1, 300 * 1024, 300 * 1024, 650 * 1024}));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    Bytes all = ReadBytes(file, 5);
    Bytes rest = ReadBytes(file, 600 * 1024);
    all.insert(all.end(), rest.begin(), rest.end());
    rest = ReadBytes(file, 300 * 1024);
    all.insert(all.end(), rest.begin(), rest.end());
    EXPECT_EQ(all, stream);

    ASSERT_EQ(file.Seek(123, 0), S_OK);
    EXPECT_EQ(ReadBytes(file, 3), Bytes(stream.begin() + 123, stream.begin() + 126));
    EXPECT_EQ(file.GetPosition(), 126u);
}

// Larger than several read-ahead blocks, cut where no block ends.
TEST(CMultiBaseFile, SmallReadsAndSeeksAcrossReadAheadBlocksKeepTheStream)
{
    TempDir dir;
    Bytes stream(13 << 20);
    for (std::size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
    auto paths = WritePartChain(dir, "ahead", ".bin", PartNaming::Title,
                                CutAt(stream, {(5 << 20) + 7, (9 << 20) + 13}));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    constexpr std::uint32_t kPiece = 77777;
    for (std::size_t at = 0; at + kPiece <= stream.size(); at += kPiece) {
        ASSERT_EQ(ReadBytes(file, kPiece), Bytes(stream.begin() + at, stream.begin() + at + kPiece)) << at;
        // Back over bytes just read, inside the buffer or, after a hand-over, before it.
        ASSERT_EQ(file.Seek(-3, 1), S_OK);
        ASSERT_EQ(ReadBytes(file, 3), Bytes(stream.begin() + at + kPiece - 3, stream.begin() + at + kPiece)) << at;
        ASSERT_EQ(file.GetPosition(), at + kPiece);
    }
    // Far back while a block is being read ahead, then a reopen while one is.
    ASSERT_EQ(file.Seek(100, 0), S_OK);
    EXPECT_EQ(ReadBytes(file, 10), Bytes(stream.begin() + 100, stream.begin() + 110));
    ASSERT_EQ(file.Open(paths[1]), S_OK);
    EXPECT_EQ(ReadBytes(file, 10), Bytes(stream.begin() + (5 << 20) + 7, stream.begin() + (5 << 20) + 17));
    EXPECT_EQ(file.GetReadError(), S_OK);
}

TEST(CMultiBaseFile, WritePositionOfACreatedFile)
{
    // A stream object also serves as an output file; its position is then
    // the write position.
    TempDir dir;
    WriteFileBytes(dir.File("old.000"), Sequence(40));
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(dir.File("old.000")), S_OK);
    ReadBytes(file, 10);
    ASSERT_EQ(file.Create(dir.File("new.000"), true), S_OK);
    EXPECT_EQ(file.GetPosition(), 0u);
    ASSERT_EQ(file.Write("abcdef", 6), S_OK);
    EXPECT_EQ(file.GetPosition(), 6u);
}

TEST(CMultiBaseFile, ALaterPartThatIsNoReadableFileFailsTheOpenNamingIt)
{
    TempDir dir;
    auto paths = WritePartChain(dir, "c", "", PartNaming::Extension, {Sequence(10), Sequence(10), Sequence(10), Sequence(10)},
                                0);
    const std::string third = paths[2];
    const std::function<int()> makers[] = {
        [&] { return ::mkdir(third.c_str(), 0755); },
        [&] { return ::mkfifo(third.c_str(), 0600); },
        [&] { return ::symlink("/dev/null", third.c_str()); },
        [&] { return ::symlink(dir.File("nothing").c_str(), third.c_str()); },
    };
    for (const auto& make : makers) {
        std::remove(third.c_str());
        ASSERT_EQ(make(), 0);
        CMultiBaseFile file;
        EXPECT_TRUE(FAILED(file.Open(paths[0])));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.GetFailedLaterPart(), third);
    }
    // A part missing from the numbering ends the chain before it.
    std::remove(third.c_str());
    CMultiBaseFile file;
    ASSERT_EQ(file.Open(paths[0]), S_OK);
    EXPECT_EQ(file.GetTotalLength(), 20u);
    EXPECT_EQ(file.GetFailedLaterPart(), "");
}

TEST(CMultiBaseFile, PartsThatFailOrShrinkWhileTheStreamReadsThemFailTheRead)
{
    TempDir dir;
    // The first part is longer than the reader takes ahead, so the cut lies
    // in bytes it has not read yet: a cut inside a read in flight may hand
    // that read zeros, as the system zeroes the cut end of a large page.
    const std::vector<std::size_t> cuts = {16 << 20, 17 << 20};
    const Bytes stream = Sequence(18 << 20);
    auto paths = WritePartChain(dir, "c", "", PartNaming::Extension, CutAt(stream, cuts), 0);
    const struct {
        const char* what;
        std::size_t failing;
        std::function<void()> change;
        bool failedOpening;
    } cases[] = {
        {"first part cut", 0, [&] { ::truncate(paths[0].c_str(), 8 << 20); }, false},
        {"second part cut", 1, [&] { ::truncate(paths[1].c_str(), 0); }, false},
        {"last part removed", 2, [&] { std::remove(paths[2].c_str()); }, true},
        // Reading this process's memory from address 0 fails as a bad sector does.
        {"read error", 1, [&] {
             std::remove(paths[1].c_str());
             ::symlink("/proc/self/mem", paths[1].c_str());
         }, false},
    };
    for (const auto& each : cases) {
        WritePartChain(dir, "c", "", PartNaming::Extension, CutAt(stream, cuts), 0);
        CMultiBaseFile file;
        ASSERT_EQ(file.Open(paths[0]), S_OK) << each.what;
        EXPECT_EQ(ReadBytes(file, 10), Bytes(stream.begin(), stream.begin() + 10)) << each.what;
        each.change();
        // The bytes before the failure still arrive; the read after them fails.
        const Bytes rest = ReadBytes(file, static_cast<std::uint32_t>(stream.size()));
        EXPECT_TRUE(std::equal(rest.begin(), rest.end(), stream.begin() + 10)) << each.what;
        EXPECT_LT(rest.size(), stream.size() - 10) << each.what;
        const HRESULT failure = file.GetReadError();
        EXPECT_TRUE(FAILED(failure)) << each.what;
        std::uint8_t byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), failure) << each.what;
        EXPECT_EQ(file.GetFailedLaterPart(), each.failing == 0 ? "" : paths[each.failing]) << each.what;
        EXPECT_EQ(file.ReadFailedOpeningPart(), each.failedOpening) << each.what;
    }
}
