#include "CSlicer.h"
#include "FilePaths.h"
#include "IProgress.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "SliceTestData.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>

using namespace ensemble_builder;

namespace {

// Answers true `pumps` times, then stops the run like a Cancel.
class CancelAfter : public IProgress {
public:
    explicit CancelAfter(int pumps) : m_left(pumps) {}
    void SetRange(std::uint64_t upper) override { m_range = upper; }
    void SetPos(std::uint64_t position) override { m_positions.push_back(position); }
    bool Pump() override { return m_left-- > 0; }

    std::uint64_t m_range = 0;
    std::vector<std::uint64_t> m_positions;

private:
    int m_left;
};

class Slicing : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        platform::SetProgramName("Pelmar");
    }

    // Writes the input and slices it with the given size text.
    bool Run(const Bytes& input, const std::string& sizeText = "0", IProgress* progress = nullptr)
    {
        WriteFileBytes(InputPath(), input);
        return RunOn(InputPath(), Prefix(), sizeText, progress);
    }

    bool RunOn(const std::string& input, const std::string& prefix, const std::string& sizeText,
               IProgress* progress = nullptr)
    {
        CSlicer slicer({input, prefix, sizeText, std::atof(sizeText.c_str())});
        if (!slicer.Prepare())
            return false;
        NullProgress none;
        bool ended = slicer.Slice(progress ? *progress : none);
        m_slices = slicer.Slices();
        return ended;
    }

    std::string InputPath() const { return m_dir.File("input.ens"); }
    std::string Prefix() const { return m_dir.File("run"); }
    std::string Slice(const char* suffix) const { return Prefix() + suffix; }
    Bytes SliceBytes(const char* suffix) const { return ReadFileBytes(Slice(suffix)); }

    TempDir m_config;
    TempDir m_dir;
    platform::RecordingMessageBackend m_messages;
    std::vector<std::string> m_slices;
};

} // namespace

TEST_F(Slicing, RestartsOfTheNumberingStartNewSlices)
{
    ASSERT_TRUE(Run(NumberedRun({1, 2, 3, 1, 2})));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 2, 3}));
    EXPECT_EQ(SliceBytes("001.000"), NumberedRun({1, 2}));
    EXPECT_EQ(m_slices.size(), 2u);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(Slicing, RepeatedNumbersAndMissingLeadersCountAsRestarts)
{
    Bytes noLeader = BuildEnsemble({PatternType(kVelocityId, 50)});
    ASSERT_TRUE(Run(Concat({NumberedRun({5, 5}), noLeader, noLeader})));
    EXPECT_EQ(SliceBytes("000.000"), NumberedEnsemble(5));
    EXPECT_EQ(SliceBytes("001.000"), NumberedEnsemble(5));
    EXPECT_EQ(SliceBytes("002.000"), noLeader);
    EXPECT_EQ(SliceBytes("003.000"), noLeader);
}

TEST_F(Slicing, SizeLimitKeepsWholeEnsemblesAndMayBeReachedExactly)
{
    // 1 MB: two ensembles of 400,000 bytes fit, a third would pass the limit.
    ASSERT_TRUE(Run(NumberedRun({1, 2, 3, 4, 5}, 400000), "1"));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 2}, 400000));
    EXPECT_EQ(SliceBytes("000.001"), NumberedRun({3, 4}, 400000));
    EXPECT_EQ(SliceBytes("000.002"), NumberedRun({5}, 400000));

    // 0.5 MB = 524,288 bytes: two halves reach it exactly, the next byte passes.
    WriteFileBytes(InputPath(), NumberedRun({1, 2, 3}, 262144));
    std::string half = m_dir.File("half");
    ASSERT_TRUE(RunOn(InputPath(), half, "0.5"));
    EXPECT_EQ(ReadFileBytes(half + "000.000"), NumberedRun({1, 2}, 262144));
    EXPECT_EQ(ReadFileBytes(half + "000.001"), NumberedRun({3}, 262144));
}

TEST_F(Slicing, OversizedEnsembleGetsASliceOfItsOwn)
{
    Bytes input = Concat({NumberedEnsemble(1, 1000), NumberedEnsemble(2, 600000), NumberedEnsemble(3, 1000)});
    ASSERT_TRUE(Run(input, "0.5"));
    EXPECT_EQ(SliceBytes("000.000"), NumberedEnsemble(1, 1000));
    EXPECT_EQ(SliceBytes("000.001"), NumberedEnsemble(2, 600000));
    EXPECT_EQ(SliceBytes("000.002"), NumberedEnsemble(3, 1000));
}

TEST_F(Slicing, SizeCounterIsNotResetByARestart)
{
    ASSERT_TRUE(Run(NumberedRun({1, 2, 3, 1}, 400000), "1"));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 2}, 400000));
    EXPECT_EQ(SliceBytes("000.001"), NumberedRun({3}, 400000));
    EXPECT_EQ(SliceBytes("001.001"), NumberedRun({1}, 400000));
    EXPECT_EQ(m_slices.size(), 3u);
}

TEST_F(Slicing, CountersGrowPastThreeDigits)
{
    EXPECT_EQ(CSlicer::SliceName("/d/run", 1000, 7), "/d/run1000.007");
    EXPECT_EQ(CSlicer::SliceName("r", 3, 12345), "r003.12345");

    Bytes noLeader = BuildEnsemble({PatternType(kVelocityId, 10)});
    Bytes input;
    for (int i = 0; i < 1002; ++i)
        input.insert(input.end(), noLeader.begin(), noLeader.end());
    ASSERT_TRUE(Run(input));
    ASSERT_EQ(m_slices.size(), 1002u);
    EXPECT_EQ(m_slices.back(), Slice("1001.000"));
    EXPECT_EQ(SliceBytes("1001.000"), noLeader);
}

TEST_F(Slicing, OnlyValidEnsemblesAreCopied)
{
    Bytes waves = BuildEnsemble({PatternType(0x0103, 40)}, kWavesId);
    Bytes damaged = WithBadChecksum(NumberedEnsemble(2));
    Bytes input = Concat({Bytes(17, 0x55), NumberedEnsemble(1), waves, damaged, Bytes{0x7F, 0x7F, 0x03},
                          NumberedEnsemble(3)});
    ASSERT_TRUE(Run(input));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 3}));
}

TEST_F(Slicing, InputWithoutEnsemblesGivesOneEmptySlice)
{
    ASSERT_TRUE(Run(Bytes(100, 0x20)));
    EXPECT_EQ(m_slices, std::vector<std::string>{Slice("000.000")});
    EXPECT_TRUE(SliceBytes("000.000").empty());
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(Slicing, SizeTextsAndLimits)
{
    EXPECT_EQ(CSlicer::LimitBytes(0.5), 524288u);
    EXPECT_EQ(CSlicer::LimitBytes(200), 209715200u);
    EXPECT_EQ(CSlicer::LimitBytes(1.3), 1363149u);
    EXPECT_EQ(CSlicer::LimitBytes(1e300), 0u);

    for (const char* accepted : {"0", "0.5", "200", "1.3", "200.0 MB"})
        EXPECT_TRUE(CSlicer::IsSizeAccepted(accepted, CSlicer::LimitBytes(std::atof(accepted)))) << accepted;
    for (const char* refused : {"0.4", "250", "200.01", "0.0", "00", "", "abc", "-1", " 0"})
        EXPECT_FALSE(CSlicer::IsSizeAccepted(refused, CSlicer::LimitBytes(std::atof(refused)))) << refused;
}

TEST_F(Slicing, ChecksComeInOrderAndEndTheRunBeforeAnySlice)
{
    const std::string badSize = "The maximum file size is invalid or out of range.\n\r"
                                "Valid range is 0.5 to 200 MB or 0 for unlimited file size.";
    WriteFileBytes(InputPath(), NumberedRun({1}));
    EXPECT_FALSE(RunOn("", "", "abc"));
    EXPECT_FALSE(RunOn(InputPath(), "", "abc"));
    EXPECT_FALSE(RunOn(InputPath(), Prefix(), "250"));
    EXPECT_FALSE(RunOn("missing.ens", Prefix() + ".bin", "0"));
    EXPECT_FALSE(RunOn(InputPath(), Prefix() + ".bin", "0"));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"Please enter input file name.", "Please enter output file name prefix.",
                                        badSize, "Cannot open file missing.ens. No such file or directory.",
                                        "File prefix cannot contain extension."}));
    EXPECT_FALSE(platform::PathExists(Slice("000.000")));
    // The input opened in the last run, so its name was stored; no slice was.
    EXPECT_EQ(GetLastInputFileName(), InputPath());
    EXPECT_EQ(GetLastOutputFileName(), "");
}

TEST_F(Slicing, PointsBeforeTheLastSlashAreNoExtension)
{
    EXPECT_FALSE(CSlicer::HasExtension("/data.old/run"));
    EXPECT_FALSE(CSlicer::HasExtension("../run"));
    EXPECT_TRUE(CSlicer::HasExtension("run.bin"));
    EXPECT_TRUE(CSlicer::HasExtension("/data/run.bin"));
    EXPECT_TRUE(CSlicer::HasExtension("/data.old/run."));
}

TEST_F(Slicing, ExistingSliceIsReplacedOnlyOnYes)
{
    WriteFileText(Slice("000.000"), "old");
    m_messages.QueueAnswer(platform::IDNO);
    EXPECT_FALSE(Run(NumberedRun({1})));
    EXPECT_EQ(ReadFileText(Slice("000.000")), "old");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "File " + Slice("000.000") + " already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(m_messages.Types()[0], platform::MB_YESNO | platform::MB_ICONEXCLAMATION);

    m_messages.QueueAnswer(platform::IDYES);
    EXPECT_TRUE(Run(NumberedRun({1})));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1}));
}

TEST_F(Slicing, DeclinedLaterSliceEndsTheRunKeepingEarlierOnes)
{
    WriteFileText(Slice("001.000"), "old");
    m_messages.QueueAnswer(platform::IDNO);
    EXPECT_FALSE(Run(NumberedRun({1, 2, 1, 2})));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 2}));
    EXPECT_EQ(ReadFileText(Slice("001.000")), "old");
}

TEST_F(Slicing, UnreadableExistingSliceIsStillAskedAbout)
{
    WriteFileText(Slice("000.000"), "old");
    chmod(Slice("000.000").c_str(), 0);
    EXPECT_FALSE(Run(NumberedRun({1})));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("already exists"), std::string::npos);
}

TEST_F(Slicing, ASliceIsNeverAPartOfTheInput)
{
    // The input chain run000.000, run000.001 lies where the slices would go.
    WriteFileBytes(Slice("000.000"), NumberedRun({1, 2}));
    WriteFileBytes(Slice("000.001"), NumberedRun({3}));
    m_messages.QueueAnswer(platform::IDYES);
    EXPECT_FALSE(RunOn(Slice("000.000"), Prefix(), "0"));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Cannot create file " + Slice("000.000") + ".");
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1, 2}));

    // Also under another name of the same file.
    std::string link = m_dir.File("other");
    ASSERT_EQ(symlink(m_dir.Path().c_str(), link.c_str()), 0);
    m_messages.Clear();
    EXPECT_FALSE(RunOn(Slice("000.000"), link + "/run", "0"));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Cannot create file " + link + "/run000.000.");
    EXPECT_EQ(SliceBytes("000.001"), NumberedRun({3}));
}

TEST_F(Slicing, CancelEndsAfterTheCurrentEnsembleAsANormalEnd)
{
    Bytes input = NumberedRun({1, 2, 3});
    CancelAfter progress(1); // the pump before the loop goes on, the one after ensemble 1 stops
    ASSERT_TRUE(Run(input, "0", &progress));
    EXPECT_EQ(SliceBytes("000.000"), NumberedRun({1}));
    EXPECT_EQ(progress.m_range, input.size());
    ASSERT_EQ(progress.m_positions.size(), 1u);
    EXPECT_EQ(progress.m_positions[0], NumberedEnsemble(1).size());
}

TEST_F(Slicing, FailedWriteIsReportedAndKeepsWhatWasWritten)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{700000, RLIM_INFINITY};
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    limit.rlim_max = previous.rlim_max;
    WriteFileBytes(InputPath(), NumberedRun({1, 2, 3, 4, 5}, 400000));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    bool ended = RunOn(InputPath(), Prefix(), "0");
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(ended);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Problems with writing to output file. " + Prefix()
                                                           + "000.000: File too large."});
    EXPECT_LE(SliceBytes("000.000").size(), 700000u);
}
