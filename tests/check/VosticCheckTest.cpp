#include "CheckBuilders.h"
#include "CVosticCheck.h"
#include "FilePaths.h"
#include "FileSizeLimit.h"
#include "IProgress.h"
#include "Messages.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace check_builders;
using ensemble_builder::BuildEnsemble;
using ensemble_builder::Concat;
using ensemble_builder::PatternType;

namespace {

const std::string kHyphens28(28, '-');

class VosticCheckTest : public ::testing::Test {
protected:
    void WriteInput(const std::vector<Bytes>& items) { WriteFileBytes(m_input, Concat(items)); }

    CheckOutcome Run(const std::string& start = "0", const std::string& end = "0", bool writeDateTime = false)
    {
        CheckRequest request{m_input, m_log, start, end, writeDateTime};
        EXPECT_TRUE(m_check.AcceptNames(request));
        EXPECT_TRUE(m_check.OpenFiles());
        NullProgress progress;
        return m_check.Run(progress);
    }

    std::string Report() const { return ReadFileText(m_log); }

    // The lines between the REPORT header and the DATA FILE INFORMATION header.
    std::string Events() const
    {
        const std::string report = Report();
        const std::size_t begin = report.find(std::string(99, '-') + "\r\n") + 101;
        return report.substr(begin, report.find("\r\nDATA FILE INFORMATION") - begin);
    }

    // The report from the summary on.
    std::string Tail() const
    {
        const std::string report = Report();
        const std::size_t info = report.find("DATA FILE INFORMATION");
        return report.substr(report.find(std::string(91, '-') + "\r\n", info) + 93);
    }

    TempDir m_dir;
    std::string m_input = m_dir.File("run.000");
    std::string m_log = m_dir.File("run.log");
    platform::RecordingMessageBackend m_messages;
    CVosticCheck m_check;
};

TEST_F(VosticCheckTest, ForwardGapsGiveLostOrMissedLines)
{
    WriteInput({Ensemble(10), Ensemble(11), Ensemble(13), Ensemble(14), Ensemble(18)});
    EXPECT_EQ(Run(), CheckOutcome::Completed);
    EXPECT_EQ(Events(), "Ensemble 12         Bad checksum or ensemble lost.\r\n"
                        "Ensemble 18         Missed 3 ensembles (last valid ensembles was 14).\r\n");
    EXPECT_EQ(m_check.m_nMissingEnsembles, 4);
    EXPECT_EQ(m_check.m_nValidEnsembles, 5);
    EXPECT_EQ(m_check.FirstNumber(), 10);
    EXPECT_EQ(m_check.LastNumber(), 18);
}

TEST_F(VosticCheckTest, RepeatedAndBackwardNumbers)
{
    WriteInput({Ensemble(10), Ensemble(10), Ensemble(8), Ensemble(9)});
    Run();
    EXPECT_EQ(Events(), "Ensemble 10         Ensemble number the same as previous.\r\n"
                        "Ensemble 8          Ensemble number out of sequence (previous ensemble was 10).\r\n");
    EXPECT_EQ(m_check.m_nMissingEnsembles, 0);
}

TEST_F(VosticCheckTest, NumberZeroIsNeverSequenceTested)
{
    WriteInput({Ensemble(5), Ensemble(0), Ensemble(7), Ensemble(9)});
    Run();
    EXPECT_EQ(Events(), "Ensemble 8          Bad checksum or ensemble lost.\r\n");
}

TEST_F(VosticCheckTest, StartSkipsUntilReachedThenCountsLowerNumbers)
{
    WriteInput({Ensemble(3), Ensemble(4), Ensemble(5), Ensemble(6), Ensemble(2), Ensemble(7)});
    Run("5", "0");
    EXPECT_EQ(m_check.m_nValidEnsembles, 4);
    EXPECT_EQ(m_check.FirstNumber(), 5);
    EXPECT_EQ(Events(), "Ensemble 2          Ensemble number out of sequence (previous ensemble was 6).\r\n"
                        "Ensemble 7          Missed 4 ensembles (last valid ensembles was 2).\r\n");
}

TEST_F(VosticCheckTest, LowerNumberAfterStartEndsRunWhenEndIsGiven)
{
    WriteInput({Ensemble(3), Ensemble(4), Ensemble(5), Ensemble(6), Ensemble(2), Ensemble(7)});
    Run("5", "8");
    EXPECT_EQ(m_check.m_nValidEnsembles, 2);
    EXPECT_EQ(m_check.LastNumber(), 6);
    EXPECT_EQ(Events(), "");
}

TEST_F(VosticCheckTest, NumberPastEndStopsReading)
{
    WriteInput({Ensemble(99), Ensemble(100), Ensemble(101), Ensemble(50)});
    Run("0", "100");
    EXPECT_EQ(m_check.m_nValidEnsembles, 2);
    EXPECT_EQ(m_check.LastNumber(), 100);
}

TEST_F(VosticCheckTest, NegativeBoundsCompareSigned)
{
    WriteInput({Ensemble(1), Ensemble(2), Ensemble(3)});
    Run("-5", "0");
    EXPECT_EQ(m_check.m_nValidEnsembles, 3);
    CVosticCheck second;
    CheckRequest request{m_input, m_dir.File("second.log"), "0", "-5", false};
    ASSERT_TRUE(second.AcceptNames(request));
    ASSERT_TRUE(second.OpenFiles());
    NullProgress progress;
    // Every number is above an end of -5, so the first ensemble ends the run.
    EXPECT_EQ(second.Run(progress), CheckOutcome::NoValidEnsembles);
}

TEST_F(VosticCheckTest, RangeTextsReadLikeAtol)
{
    EXPECT_EQ(CVosticCheck::NumberFromText(""), 0);
    EXPECT_EQ(CVosticCheck::NumberFromText("  -5x"), -5);
    EXPECT_EQ(CVosticCheck::NumberFromText("12abc"), 12);
    EXPECT_EQ(CVosticCheck::NumberFromText("abc"), 0);
    EXPECT_EQ(CVosticCheck::NumberFromText("99999999999"), 2147483647);
    EXPECT_EQ(CVosticCheck::NumberFromText("-99999999999"), -2147483647 - 1);
}

TEST_F(VosticCheckTest, OrientationChangesOfCountedEnsemblesOnly)
{
    WriteInput({Ensemble(1, kDown), Ensemble(2, kUp), Ensemble(3, kUp), Ensemble(4, kDown), Ensemble(5, kUp)});
    Run("3", "0");
    EXPECT_EQ(Events(), "Ensemble 4          Orientation of the system changed from UP to DOWN looking.\r\n"
                        "Ensemble 5          Orientation of the system changed from DOWN to UP looking.\r\n");
}

TEST_F(VosticCheckTest, EnsembleWithoutFixedLeaderKeepsTheOrientation)
{
    Bytes noFixedLeader = BuildEnsemble({VarLeader(2), PatternType(0x0100, 50)});
    WriteInput({Ensemble(1, kUp), noFixedLeader, Ensemble(3, kUp)});
    Run();
    EXPECT_EQ(Events(), "");
}

TEST_F(VosticCheckTest, BadBuiltInTestAndDateLinesInOrder)
{
    Bytes dated = BuildEnsemble({FixedLeader(), VarLeader(2, 0x0102, {24, 5, 17, 10, 20, 30, 40})});
    WriteInput({Ensemble(1), dated, Ensemble(4)});
    Run("0", "0", true);
    EXPECT_EQ(Events(), "Ensemble 1: 00/00/00 00:00:00.00 \r\n"
                        "Ensemble 2          Bad Built In Test result (BIT=258).\r\n"
                        "Ensemble 2: 24/05/17 10:20:30.40 \r\n"
                        "Ensemble 3          Bad checksum or ensemble lost.\r\n"
                        "Ensemble 4: 00/00/00 00:00:00.00 \r\n");
    EXPECT_EQ(m_check.m_nBadBitEnsembles, 1);
}

TEST_F(VosticCheckTest, ShortLeadersReadAsZeroInsideTheirRecord)
{
    // A variable leader that ends before its BIT word, a fixed leader after its version byte.
    Bytes shortLeaders =
        BuildEnsemble({DataType{0x0080, Bytes{7, 0, 9, 1, 2, 3, 4, 5, 6, 0}}, DataType{0x0000, Bytes{16}}});
    WriteInput({shortLeaders});
    Run("0", "0", true);
    EXPECT_EQ(Events(), "Ensemble 7: 09/01/02 03:04:05.06 \r\n");
    EXPECT_NE(Tail().find("Firmware version  : 16.00\r\nFrequency         : 75 kHz\r\n"), std::string::npos);
}

TEST_F(VosticCheckTest, BurstPacketBookkeeping)
{
    WriteInput({Ensemble(1), FirstLeaderPacket(7, 10, {24, 5, 17, 10, 20, 30, 40}), PingPacket(1), PingPacket(2),
                PingPacket(4), PingPacket(4), PingPacket(3), LastLeaderPacket()});
    Run();
    EXPECT_EQ(Events(), "Burst    7          Started 24/05/17 10:20:30.40.\r\n"
                        "Packet   3          Bad packet checksum or missing.\r\n"
                        "Packet   4          Packet number the same as previous.\r\n"
                        "Packet   3          Packet number out of sequence (previous packet was 4).\r\n"
                        "Burst    7          Ended with 5 packets (5 missing).\r\n\r\n");
    EXPECT_EQ(m_check.m_nBursts, 1);
    EXPECT_EQ(m_check.m_nErrorLines, 3);
}

TEST_F(VosticCheckTest, PacketsOutsideBurstsWriteNothing)
{
    WriteInput({Ensemble(1), PingPacket(1), LastLeaderPacket(), PingPacket(5)});
    Run();
    EXPECT_EQ(Events(), "");
    // A last leader without a first leader gives no burst lines and no waves rows.
    EXPECT_EQ(Tail().find("Burst Size"), std::string::npos);
    EXPECT_EQ(Tail().find("0203"), std::string::npos);
}

TEST_F(VosticCheckTest, MorePacketsThanAnnouncedGiveNegativeMissing)
{
    WriteInput({FirstLeaderPacket(0xFFFFFFFF, 1), PingPacket(1), PingPacket(2), LastLeaderPacket(), Ensemble(1)});
    Run();
    EXPECT_EQ(Events(), "Burst    -1         Started 00/00/00 00:00:00.00.\r\n"
                        "Burst    -1         Ended with 2 packets (-1 missing).\r\n\r\n");
}

TEST_F(VosticCheckTest, BurstLinesOnlyCountAsEventsNotErrors)
{
    WriteInput({Ensemble(1), FirstLeaderPacket(3, 1), PingPacket(1), LastLeaderPacket(), Ensemble(2)});
    Run();
    EXPECT_EQ(Tail().rfind("NO ERRORS FOUND\r\n", 0), 0u);
}

TEST_F(VosticCheckTest, SettingsComeFromFirstLeadersEvenOutsideTheRange)
{
    FixedFields fields;
    fields.version = 50;
    fields.revision = 140;
    fields.system = kDown | 3;
    fields.cells = 25;
    fields.waterPings = 300;
    fields.cellSize = 50;
    fields.blank = 44;
    fields.waterMode = 12;
    Bytes first = BuildEnsemble({FixedLeader(fields), VarLeader(1), BottomTrack(7, 5)});
    WriteInput({first, BuildEnsemble({FixedLeader(), VarLeader(2), BottomTrack(9, 9)}), Ensemble(3)});
    Run("2", "0");
    EXPECT_NE(Tail().find("Firmware version  : 50.40\r\n"
                          "Frequency         : 600 kHz\r\n"
                          "# of cells    (WN): 25\r\n"
                          "Cell size     (WS): 50 cm\r\n"
                          "Water mode    (WM): 12\r\n"
                          "Water pings   (WP): 300\r\n"
                          "Blank         (WF): 44 cm\r\n"
                          "Bottom mode   (BM): 5\r\n"
                          "Bottom pings  (BP): 7\r\n" +
                          kHyphens28 + "\r\n"),
              std::string::npos);
}

TEST_F(VosticCheckTest, NoFixedLeaderGivesZeroSettingsAndNoBottomLines)
{
    WriteInput({BuildEnsemble({VarLeader(1)})});
    Run();
    EXPECT_NE(Tail().find("Firmware version  : 0.00\r\nFrequency         : 0 kHz\r\n"), std::string::npos);
    EXPECT_EQ(Tail().find("Bottom"), std::string::npos);
}

TEST_F(VosticCheckTest, DataTypeTableStopsAtHundredIds)
{
    std::vector<Bytes> items;
    for (std::uint16_t id = 0x2000; id < 0x2000 + 101; ++id)
        items.push_back(BuildEnsemble({VarLeader(id), DataType{id, Bytes(4)}}));
    WriteInput(items);
    Run();
    const std::string tail = Tail();
    EXPECT_NE(tail.find("0080      Variable Leader                          65\r\n"), std::string::npos);
    EXPECT_NE(tail.find("2062                                               6\r\n"), std::string::npos);
    EXPECT_EQ(tail.find("2063"), std::string::npos);
    EXPECT_EQ(m_check.m_wTypeIds[99], 0x2062);
}

TEST_F(VosticCheckTest, LargeDataTypeSizesAreNotCutTo16Bits)
{
    WriteInput({BuildEnsemble({VarLeader(1), PatternType(0x0100, 60000), PatternType(0x0200, 10000)})});
    Run();
    EXPECT_NE(Tail().find("0200      Correlation                              10000\r\n"), std::string::npos);
    EXPECT_NE(Tail().find("Ensemble Size     : 70079 bytes\r\n"), std::string::npos);
}

TEST_F(VosticCheckTest, FirstItemSizeMayComeFromAWavesPacket)
{
    WriteInput({PingPacket(1), Ensemble(1)});
    Run();
    EXPECT_NE(Tail().find("Ensemble Size     : 50 bytes\r\n"), std::string::npos);
}

TEST_F(VosticCheckTest, WholeReportLayout)
{
    Bytes first = BuildEnsemble({FixedLeader(), VarLeader(1), PatternType(0x0100, 100), BottomTrack(12, 5)});
    WriteInput({first, Ensemble(2), FirstLeaderPacket(7, 2, {24, 5, 17, 10, 20, 30, 40}), PingPacket(1),
                PingPacket(2), LastLeaderPacket(), Ensemble(4)});
    EXPECT_EQ(Run(), CheckOutcome::Completed);
    const std::string expected =
        "REPORT (" + m_input + ")\r\n" + std::string(99, '-') + "\r\n" +
        "Burst    7          Started 24/05/17 10:20:30.40.\r\n"
        "Burst    7          Ended with 2 packets (0 missing).\r\n"
        "\r\n"
        "Ensemble 3          Bad checksum or ensemble lost.\r\n"
        "\r\n"
        "DATA FILE INFORMATION: (" + m_input + ")\r\n" + std::string(91, '-') + "\r\n" +
        "\r\n"
        "Ensemble Size     : 321 bytes\r\n"
        "First Ensemble    : 1\r\n"
        "Last Ensemble     : 4\r\n"
        "Valid Ensembles   : 3\r\n"
        "Missing Ensembles : 1\r\n"
        "Bad BIT Ensembles : 0\r\n" +
        kHyphens28 + "\r\n" +
        "Firmware version  : 16.30\r\n"
        "Frequency         : 300 kHz\r\n"
        "# of cells    (WN): 30\r\n"
        "Cell size     (WS): 100 cm\r\n"
        "Water mode    (WM): 1\r\n"
        "Water pings   (WP): 45\r\n"
        "Blank         (WF): 176 cm\r\n"
        "Bottom mode   (BM): 5\r\n"
        "Bottom pings  (BP): 12\r\n" +
        kHyphens28 + "\r\n" +
        "Burst Size        : 170 bytes\r\n"
        "# of Bursts       : 1\r\n" +
        kHyphens28 + "\r\n" +
        "\r\n"
        "DATA DECTECTED:\r\n"
        "ID#(hex)  Description:                             Size (bytes)\r\n"
        "0000      Fixed Leader                             59\r\n"
        "0080      Variable Leader                          65\r\n"
        "0100      Velocity                                 100\r\n"
        "0600      Bottom Track                             81\r\n"
        "0103      First Leader                             70\r\n"
        "0203      Wave Ping                                40\r\n"
        "0303      Last Leader                              20\r\n";
    EXPECT_EQ(Report(), expected);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(VosticCheckTest, NothingCountedGivesShortReportAndMessage)
{
    WriteInput({Ensemble(1), Ensemble(2)});
    EXPECT_EQ(Run("10", "0"), CheckOutcome::NoValidEnsembles);
    EXPECT_EQ(Report(), "REPORT (" + m_input + ")\r\n" + std::string(99, '-') + "\r\n" +
                            "\r\nDATA FILE INFORMATION: (" + m_input + ")\r\n" + std::string(91, '-') +
                            "\r\nNO VALID ENSEMBLES TO CHECK\r\n");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Input file does not contain valid ensembles.");
}

TEST_F(VosticCheckTest, CancelEndsTheLoopWithAFullReport)
{
    class CancelAfterFirst : public IProgress {
    public:
        void SetRange(std::uint64_t) override {}
        void SetPos(std::uint64_t) override {}
        bool Pump() override { return ++m_calls < 2; }
        int m_calls = 0;
    } progress;
    WriteInput({Ensemble(1), Ensemble(2), Ensemble(3)});
    CheckRequest request{m_input, m_log, "0", "0", false};
    ASSERT_TRUE(m_check.AcceptNames(request));
    ASSERT_TRUE(m_check.OpenFiles());
    EXPECT_EQ(m_check.Run(progress), CheckOutcome::Completed);
    EXPECT_EQ(m_check.m_nValidEnsembles, 1);
    EXPECT_NE(Report().find("DATA DECTECTED:"), std::string::npos);
}

// Starting a run: each refusal shows its message and writes nothing.
class VosticStartTest : public VosticCheckTest {
protected:
    bool Start(const std::string& input, const std::string& log)
    {
        CheckRequest request{input, log, "0", "0", false};
        return m_check.AcceptNames(request) && m_check.OpenFiles();
    }
    std::string OnlyMessage() const
    {
        const auto& texts = m_messages.Texts();
        return texts.size() == 1 ? texts[0] : "<" + std::to_string(texts.size()) + " messages>";
    }
};

TEST_F(VosticStartTest, MissingOrEqualNames)
{
    EXPECT_FALSE(Start("", m_log));
    EXPECT_EQ(OnlyMessage(), "Please enter input file name.");
    m_messages.Clear();
    EXPECT_FALSE(Start(m_input, ""));
    EXPECT_EQ(OnlyMessage(), "Please enter output file name.");
    m_messages.Clear();
    EXPECT_FALSE(Start(m_input, m_input));
    EXPECT_EQ(OnlyMessage(), "Input and output file must have different name.");
}

TEST_F(VosticStartTest, LogThatIsTheInputUnderAnotherNameIsRefused)
{
    WriteInput({Ensemble(1)});
    const Bytes before = ReadFileBytes(m_input);
    EXPECT_FALSE(Start(m_input, m_dir.Path() + "/./run.000"));
    EXPECT_EQ(OnlyMessage(), "Input and output file must have different name.");
    EXPECT_EQ(ReadFileBytes(m_input), before);
}

TEST_F(VosticStartTest, LogThatIsALaterPartOfTheChainIsRefused)
{
    const auto parts = ensemble_builder::WritePartChain(m_dir, "chain", ".ens", ensemble_builder::PartNaming::Title,
                                                        {Ensemble(1), Ensemble(2)});
    ASSERT_EQ(symlink(parts[1].c_str(), m_dir.File("link.log").c_str()), 0);
    EXPECT_FALSE(Start(parts[0], m_dir.File("link.log")));
    EXPECT_EQ(OnlyMessage(), "Input and output file must have different name.");
    EXPECT_EQ(ReadFileBytes(parts[1]), Ensemble(2));
}

TEST_F(VosticStartTest, InputThatDoesNotOpen)
{
    EXPECT_FALSE(Start(m_dir.File("absent.000"), m_log));
    EXPECT_EQ(OnlyMessage(), "Cannot open file " + m_dir.File("absent.000") + ". No such file or directory.");
    EXPECT_FALSE(platform::PathExists(m_log));
}

TEST_F(VosticStartTest, DeclinedReplaceKeepsTheOldLog)
{
    WriteInput({Ensemble(1)});
    WriteFileText(m_log, "old");
    m_messages.QueueAnswer(platform::IDNO);
    EXPECT_FALSE(Start(m_input, m_log));
    EXPECT_EQ(OnlyMessage(), "File " + m_log + " already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(ReadFileText(m_log), "old");
}

TEST_F(VosticStartTest, LogThatCannotBeCreated)
{
    WriteInput({Ensemble(1)});
    const std::string log = m_dir.File("no/such/dir.log");
    EXPECT_FALSE(Start(m_input, log));
    EXPECT_EQ(OnlyMessage(), "Cannot create file " + log + ".");
}

TEST_F(VosticStartTest, FailedReportWriteIsReported)
{
    // Each repeated number adds a line to the report.
    WriteInput(std::vector<Bytes>(200, Ensemble(1)));
    ASSERT_TRUE(Start(m_input, m_log));
    const FileSizeLimit fullDisk(4096);
    NullProgress progress;
    EXPECT_EQ(m_check.Run(progress), CheckOutcome::WriteFailed);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Problems with writing to output file. " + m_log + ": File too large.");
}

TEST_F(VosticStartTest, AFolderAsLogIsRefusedWithoutTheReplaceQuestion)
{
    WriteInput({Ensemble(1)});
    EXPECT_FALSE(Start(m_input, m_dir.Path()));
    EXPECT_EQ(OnlyMessage(), "Cannot create file " + m_dir.Path() + ".");
}

} // namespace
