#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

namespace {

using namespace ensemble_builder;

struct RunResult {
    int exitCode;
    std::string errors;
};

// Runs the built program without a display, with settings of its own; keeps
// the program's own messages on standard error, without the toolkit's notes.
RunResult RunDralin(const TempDir& home, const std::vector<std::string>& arguments)
{
    const ProgramResult result = RunProgram(kDralin, arguments, home.Path());
    EXPECT_TRUE(result.finished);
    return {result.exitCode, MessageLines(result.errors, "Dralin")};
}

class DralinEndToEnd : public ::testing::Test {
protected:
    TempDir m_dir;
    TempDir m_home;
    std::string m_output = m_dir.File("survey.txt");
    std::string m_decoder = m_dir.File("survey.dec");
};

TEST_F(DralinEndToEnd, ConvertsAChainOfPartsUnattended)
{
    const Bytes first = BuildEnsemble({VariableLeader(1), DataType{kVelocityId, {0x10, 0xFE, 0xFF, 0x07}}});
    const Bytes second = BuildEnsemble({VariableLeader(2), DataType{kVelocityId, {0x20, 0x02, 0x00, 0x08}}});
    const Bytes stream = Concat({first, Bytes(7, 0x33), second});
    const auto parts = WritePartChain(m_dir, "survey", ".000", PartNaming::Title, CutAt(stream, {first.size() + 3}));
    WriteFileText(m_decoder, "; survey\n0080,3,2\n0100,3,1,0.5,1\n0100,4,-2,1,0,+\n0100,6,1,0.01,2\n$L\n"
                             "$P0100,6,1,1,(2)\n0300,1,1\n$L\n");

    const RunResult result = RunDralin(m_home, {"/in:" + parts[0], "/dec:" + m_decoder, "-out:" + m_output});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(ReadFileText(m_output), "1,8.0,-1.93\r\n\r\n"
                                      "2,16.0,2.08\r\n\r\n");
}

TEST_F(DralinEndToEnd, FailuresEndWithStatusOneAndTheirMessage)
{
    const std::string input = m_dir.File("empty.000");
    WriteFileBytes(input, Bytes(64, 0));
    WriteFileText(m_decoder, "0080,3,2\r\n$L\r\n");
    RunResult result = RunDralin(m_home, {"/in:" + input, "/dec:" + m_decoder, "/out:" + m_output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "Dralin: Input file does not contain valid ensembles.\n");
    EXPECT_EQ(ReadFileText(m_output), "");

    // The existing output is kept: unattended, the replace question is answered No.
    WriteFileText(m_output, "keep");
    WriteFileBytes(input, BuildEnsemble({VariableLeader(3)}));
    result = RunDralin(m_home, {"/in:" + input, "/dec:" + m_decoder, "/out:" + m_output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(ReadFileText(m_output), "keep");

    result = RunDralin(m_home, {"/in:" + input, "/dec:" + m_dir.File("none.dec"), "/out:" + m_dir.File("new.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "Dralin: Cannot open file " + m_dir.File("none.dec") + ". No such file or directory.\n");
}

} // namespace
