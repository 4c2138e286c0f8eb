#include "ProgramRun.h"
#include "SliceTestData.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

using namespace ensemble_builder;

namespace {

class PelmarProgram : public ::testing::Test {
protected:
    // Runs the built program without a display, as on a server.
    ProgramResult Run(const std::vector<std::string>& arguments)
    {
        return RunProgram(kPelmar, arguments, m_config.Path(), RunContext{m_dir.Path(), {}});
    }

    QString Stored(const char* name)
    {
        QSettings settings(QString::fromStdString(m_config.File("QSV/Pelmar.conf")), QSettings::IniFormat);
        return settings.value(QString("Settings/") + name).toString();
    }

    TempDir m_config;
    TempDir m_dir;
};

} // namespace

TEST_F(PelmarProgram, SlicesAChainUnattendedAndRemembersTheNames)
{
    Bytes stream = Concat({NumberedRun({1, 2, 3}, 400000), Bytes(33, 0), NumberedRun({1, 2}, 400000)});
    auto parts = WritePartChain(m_dir, "rec", ".ens", PartNaming::Title, CutAt(stream, {500000, 900000}));
    ProgramResult outcome = Run({"/in:" + parts[0], "-out:cut", "/size:1"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors, "");
    std::string prefix = m_dir.File("cut");
    EXPECT_EQ(ReadFileBytes(prefix + "000.000"), NumberedRun({1, 2}, 400000));
    EXPECT_EQ(ReadFileBytes(prefix + "000.001"), NumberedRun({3}, 400000));
    EXPECT_EQ(ReadFileBytes(prefix + "001.001"), NumberedRun({1, 2}, 400000));
    EXPECT_EQ(Stored("Last Input File Name").toStdString(), parts[0]);
    EXPECT_EQ(Stored("Last Output File Name").toStdString(), prefix + "000.000");
}

TEST_F(PelmarProgram, ErrorsGoToStandardErrorWithStatusOne)
{
    ProgramResult missing = Run({"/in:missing.ens", "/out:cut"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.errors, "Pelmar: Cannot open file " + m_dir.File("missing.ens") + ". No such file or directory.\n");

    WriteFileBytes(m_dir.File("in.ens"), NumberedRun({1}));
    ProgramResult badSize = Run({"/in:in.ens", "/out:cut", "/size:250"});
    EXPECT_EQ(badSize.exitCode, 1);
    EXPECT_EQ(badSize.errors, "Pelmar: The maximum file size is invalid or out of range.\n"
                              "Valid range is 0.5 to 200 MB or 0 for unlimited file size.\n");
}

TEST_F(PelmarProgram, CommandLineRefusesTheSizesTheDialogRefuses)
{
    // A decimal comma or a word once ran as "no limit": one slice of the whole file.
    WriteFileBytes(m_dir.File("in.ens"), NumberedRun({1}));
    for (const char* size : {"abc", "0,5", "0.0", "00", ""}) {
        SCOPED_TRACE(size);
        ProgramResult outcome = Run({"/in:in.ens", "/out:cut", std::string("/size:") + size});
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.errors, "Pelmar: The maximum file size is invalid or out of range.\n"
                                  "Valid range is 0.5 to 200 MB or 0 for unlimited file size.\n");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(m_dir.File("cut000.000"))));
    }
    for (const char* size : {"0", " 0.5", "200"}) {
        SCOPED_TRACE(size);
        QFile::remove(QString::fromStdString(m_dir.File("cut000.000")));
        ProgramResult outcome = Run({"/in:in.ens", "/out:cut", std::string("/size:") + size});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(ReadFileBytes(m_dir.File("cut000.000")), NumberedRun({1}));
    }
}

TEST_F(PelmarProgram, ExistingSliceIsKeptWhenNobodyCanAgreeAndTheSlicesBeforeItAreNamed)
{
    auto question = [&](const std::string& slice) {
        return "Pelmar: File " + m_dir.File(slice) + " already exists.\nDo you want to replace it?\n"
               "Pelmar: Answered No (nobody can be asked here): " + m_dir.File(slice) + " was not replaced.\n";
    };
    WriteFileBytes(m_dir.File("in.ens"), NumberedRun({1}));
    WriteFileText(m_dir.File("cut000.000"), "old");
    ProgramResult outcome = Run({"/in:in.ens", "/out:cut"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.errors, question("cut000.000"));
    EXPECT_EQ(ReadFileText(m_dir.File("cut000.000")), "old");

    // Each restart of the numbering asks for the next slice.
    WriteFileBytes(m_dir.File("in.ens"), NumberedRun({1, 1, 1, 1}));
    WriteFileText(m_dir.File("run002.000"), "old");
    outcome = Run({"/in:in.ens", "/out:run"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.errors, question("run002.000") + "Pelmar: Wrote 2 slices before the question: "
                                  + m_dir.File("run000.000") + " to " + m_dir.File("run001.000") + ".\n");
    EXPECT_EQ(ReadFileText(m_dir.File("run002.000")), "old");
}

TEST_F(PelmarProgram, WithoutEveryFileThereIsNothingToWaitFor)
{
    WriteFileBytes(m_dir.File("in.ens"), NumberedRun({1}));
    ProgramResult outcome = Run({"/in:in.ens"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_FALSE(outcome.errors.empty());
}
