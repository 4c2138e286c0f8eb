#include "CheckBuilders.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

using namespace check_builders;
using ensemble_builder::Concat;
using ensemble_builder::CutAt;
using ensemble_builder::PartNaming;
using ensemble_builder::WithBadChecksum;
using ensemble_builder::WritePartChain;

namespace {

// Runs the built checker on the offscreen display with settings in `configHome`.
ProgramResult RunVostic(const std::vector<std::string>& arguments, const std::string& configHome)
{
    return RunProgram(kVostic, arguments, configHome, RunContext{"", {"QT_QPA_PLATFORM=offscreen"}});
}

std::string Header(const std::string& input)
{
    return "REPORT (" + input + ")\r\n" + std::string(99, '-') + "\r\n";
}

std::string InfoHeader(const std::string& input)
{
    return "\r\nDATA FILE INFORMATION: (" + input + ")\r\n" + std::string(91, '-') + "\r\n";
}

const std::string kSettingsAndTypes = std::string(28, '-') + "\r\n" +
    "Firmware version  : 16.30\r\n"
    "Frequency         : 300 kHz\r\n"
    "# of cells    (WN): 30\r\n"
    "Cell size     (WS): 100 cm\r\n"
    "Water mode    (WM): 1\r\n"
    "Water pings   (WP): 45\r\n"
    "Blank         (WF): 176 cm\r\n" +
    std::string(28, '-') + "\r\n" +
    "\r\n"
    "DATA DECTECTED:\r\n"
    "ID#(hex)  Description:                             Size (bytes)\r\n"
    "0000      Fixed Leader                             59\r\n"
    "0080      Variable Leader                          65\r\n"
    "0100      Velocity                                 100\r\n";

class VosticE2ETest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_config = m_dir.File("config");
    std::string m_log = m_dir.File("run.log");
};

TEST_F(VosticE2ETest, ChecksAPartChainUnattended)
{
    const auto stream = Concat({Ensemble(1), Ensemble(2), WithBadChecksum(Ensemble(3)), Ensemble(4), Ensemble(4),
                                Ensemble(5), Ensemble(8)});
    // Cuts inside ensembles, and one empty part.
    const auto parts = WritePartChain(m_dir, "run", ".ens", PartNaming::Title, CutAt(stream, {300, 700, 700, 1200}));
    const ProgramResult run = RunVostic({"/in:" + parts[0], "-out:" + m_log}, m_config);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors.find("Vostic: "), std::string::npos);
    EXPECT_EQ(ReadFileText(m_log),
              Header(parts[0]) + "Ensemble 3          Bad checksum or ensemble lost.\r\n"
                                 "Ensemble 4          Ensemble number the same as previous.\r\n"
                                 "Ensemble 8          Missed 2 ensembles (last valid ensembles was 5).\r\n" +
                  InfoHeader(parts[0]) +
                  "\r\n"
                  "Ensemble Size     : 238 bytes\r\n"
                  "First Ensemble    : 1\r\n"
                  "Last Ensemble     : 8\r\n"
                  "Valid Ensembles   : 6\r\n"
                  "Missing Ensembles : 3\r\n"
                  "Bad BIT Ensembles : 0\r\n" +
                  kSettingsAndTypes);
    EXPECT_NE(ReadFileText(m_config + "/QSV/Vostic.conf").find(parts[0]), std::string::npos);
}

TEST_F(VosticE2ETest, RangeAndDateOptionsFromTheCommandLine)
{
    const auto stream = Concat({Ensemble(1), Ensemble(2), Ensemble(3), Ensemble(4), Ensemble(5)});
    const auto parts = WritePartChain(m_dir, "run", "", PartNaming::Extension, CutAt(stream, {500}));
    const ProgramResult run = RunVostic({"/in:" + parts[0], "/out:" + m_log, "/start:2", "/end:3"}, m_config);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadFileText(m_log), Header(parts[0]) + InfoHeader(parts[0]) +
                                       "NO ERRORS FOUND\r\n"
                                       "\r\n"
                                       "Ensemble Size     : 238 bytes\r\n"
                                       "First Ensemble    : 2\r\n"
                                       "Last Ensemble     : 3\r\n"
                                       "Valid Ensembles   : 2\r\n"
                                       "Missing Ensembles : 0\r\n"
                                       "Bad BIT Ensembles : 0\r\n" +
                                       kSettingsAndTypes);
}

TEST_F(VosticE2ETest, NoValidEnsemblesEndsWithStatusOne)
{
    const std::string input = m_dir.File("empty.000");
    WriteFileBytes(input, std::vector<std::uint8_t>(1000, 0));
    const ProgramResult run = RunVostic({"/in:" + input, "/out:" + m_log}, m_config);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("Input file does not contain valid ensembles."), std::string::npos);
    EXPECT_EQ(ReadFileText(m_log), Header(input) + InfoHeader(input) + "NO VALID ENSEMBLES TO CHECK\r\n");
}

TEST_F(VosticE2ETest, ExistingLogIsKeptWithoutAUser)
{
    const std::string input = m_dir.File("run.000");
    WriteFileBytes(input, Ensemble(1));
    WriteFileText(m_log, "keep");
    const ProgramResult run = RunVostic({"/in:" + input, "/out:" + m_log}, m_config);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("already exists."), std::string::npos);
    EXPECT_EQ(ReadFileText(m_log), "keep");
}

} // namespace
