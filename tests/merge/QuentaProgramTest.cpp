#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <string>

using namespace ensemble_builder;

namespace {

Bytes Ensemble(std::uint32_t number, Bytes values)
{
    return BuildEnsemble({VariableLeader(number), DataType{0x0100, std::move(values)}});
}

// Runs the built quenta on the offscreen display, with settings in the test's directory.
class QuentaProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFileText(m_dir.File("values.dec"), "0100,3,2,0.1,1\r\n0100,5,-1\r\n$L\r\n");
    }

    ProgramResult Run(const std::vector<std::string>& arguments)
    {
        const ProgramResult result = RunProgram(kQuenta, arguments, m_dir.File("config"),
                                                RunContext{m_dir.Path(), {"QT_QPA_PLATFORM=offscreen"}});
        EXPECT_TRUE(result.finished) << "quenta did not finish";
        return result;
    }

    // Qt may add warnings of its own on standard error; the program's lines
    // carry its name.
    static std::string Messages(const ProgramResult& result) { return MessageLines(result.errors, "Quenta"); }

    std::vector<std::string> Switches(const std::string& input, const std::string& output)
    {
        return {"/in:" + input, "/out:" + output, "/dec:values.dec", "-ascii:values.txt"};
    }

    TempDir m_dir;
};

} // namespace

TEST_F(QuentaProgramTest, MergesAPartChainUnattendedAndEndsWithStatusZero)
{
    const Bytes stream = Concat({Ensemble(7, Bytes(4, 0)), Bytes(5, 0), Ensemble(8, Bytes(4, 0)),
                                 Ensemble(9, Bytes(4, 0))});
    const auto parts = WritePartChain(m_dir, "survey", ".bin", PartNaming::Title, CutAt(stream, {40, 90}));
    WriteFileText(m_dir.File("values.txt"), "1.5,-1\r\n6553.5,127\n-0.04,-128\r\n");

    const ProgramResult result = Run(Switches(parts.front(), "merged.bin"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Messages(result), "");
    EXPECT_EQ(ReadFileBytes(m_dir.File("merged.bin")),
              Concat({Ensemble(7, {15, 0, 0xFF, 0}), Ensemble(8, {0xFF, 0xFF, 127, 0}), Ensemble(9, {0, 0, 0x80, 0})}));
}

TEST_F(QuentaProgramTest, AnAsciiFileThatRunsOutEndsWithStatusOneAndSaysSo)
{
    WriteFileBytes(m_dir.File("in.bin"), Concat({Ensemble(1, Bytes(4, 0)), Ensemble(2, Bytes(4, 0))}));
    WriteFileText(m_dir.File("values.txt"), "0.2,3\r\n");

    const ProgramResult result = Run(Switches("in.bin", "out.bin"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(Messages(result), "Quenta: ASCII file " + m_dir.File("values.txt")
                                        + " ran out of lines before the end of the merge.\n");
    EXPECT_EQ(ReadFileBytes(m_dir.File("out.bin")), Ensemble(1, {2, 0, 3, 0}));
}
