#include "EnsembleBuilder.h"
#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

using namespace ensemble_builder;

namespace {

constexpr int kProgramTimeoutMs = 30000;

struct ProgramResult {
    int exitCode = -1;
    std::string messages; // the program's own lines of standard error
};

// Qt may add warnings of its own on standard error; the program's lines
// carry its name.
std::string ProgramLines(const QByteArray& standardError)
{
    std::string lines;
    for (const QByteArray& line : standardError.split('\n')) {
        if (line.startsWith("Quenta: "))
            lines += line.toStdString() + "\n";
    }
    return lines;
}

Bytes Ensemble(std::uint32_t number, Bytes values)
{
    return BuildEnsemble({VariableLeader(number), DataType{0x0100, std::move(values)}});
}

// Runs the built quenta without a display, with settings in the test's directory.
class QuentaProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFileText(m_dir.File("values.dec"), "0100,3,2,0.1,1\r\n0100,5,-1\r\n$L\r\n");
    }

    ProgramResult Run(const QStringList& arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(m_dir.File("config")));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(m_dir.Path()));
        program.start(QSV_BINARY_DIR "/merge/quenta", arguments);
        ProgramResult result;
        if (!program.waitForFinished(kProgramTimeoutMs)) {
            program.kill();
            program.waitForFinished(kProgramTimeoutMs);
            ADD_FAILURE() << "quenta did not finish";
            return result;
        }
        result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        result.messages = ProgramLines(program.readAllStandardError());
        return result;
    }

    QStringList Switches(const std::string& input, const std::string& output)
    {
        return {QString::fromStdString("/in:" + input), QString::fromStdString("/out:" + output),
                "/dec:values.dec", "-ascii:values.txt"};
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
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(ReadFileBytes(m_dir.File("merged.bin")),
              Concat({Ensemble(7, {15, 0, 0xFF, 0}), Ensemble(8, {0xFF, 0xFF, 127, 0}), Ensemble(9, {0, 0, 0x80, 0})}));
}

TEST_F(QuentaProgramTest, AnAsciiFileThatRunsOutEndsWithStatusOneAndSaysSo)
{
    WriteFileBytes(m_dir.File("in.bin"), Concat({Ensemble(1, Bytes(4, 0)), Ensemble(2, Bytes(4, 0))}));
    WriteFileText(m_dir.File("values.txt"), "0.2,3\r\n");

    const ProgramResult result = Run(Switches("in.bin", "out.bin"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.messages, "Quenta: ASCII file " + m_dir.File("values.txt")
                                        + " ran out of lines before the end of the merge.\n");
    EXPECT_EQ(ReadFileBytes(m_dir.File("out.bin")), Ensemble(1, {2, 0, 3, 0}));
}
