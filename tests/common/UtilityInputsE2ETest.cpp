// The four data utilities run unattended on careless and hostile inputs:
// names that are not valid UTF-8, folders as outputs, endless lines, and
// ensembles whose offset table points into their own header.
#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>

namespace {

using namespace ensemble_builder;


bool Exists(const std::string& name)
{
    struct stat st {};
    return stat(name.c_str(), &st) == 0;
}

class UtilityInputs : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& locale = "C.UTF-8")
    {
        return RunProgram(program, arguments, m_config.Path(), locale);
    }

    // A value of the program's "Settings" section, as the bytes stored.
    std::string Stored(const char* program, const char* name) const
    {
        const QString file = QString::fromStdString(m_config.File("QSV/" + std::string(program) + ".conf"));
        const QVariant value = QSettings(file, QSettings::IniFormat).value(QString("Settings/") + name);
        return value.typeId() == QMetaType::QByteArray ? value.toByteArray().toStdString()
                                                       : value.toString().toStdString();
    }

    TempDir m_config;
    TempDir m_dir;
};

class ByteNames : public UtilityInputs, public ::testing::WithParamInterface<const char*> {
protected:
    // A name with a byte that no UTF-8 text holds.
    std::string Bad(const std::string& stem, const std::string& extension) const
    {
        return m_dir.File(stem + "\xff" + extension);
    }
    // What a text conversion would have made of that name.
    std::string Replaced(const std::string& stem, const std::string& extension) const
    {
        return m_dir.File(stem + "\xef\xbf\xbd" + extension);
    }
    const char* Locale() const { return GetParam(); }
};

TEST_P(ByteNames, ReachTheFileSystemAndTheSettingsUnchanged)
{
    const std::string input = Bad("in", ".000");
    const std::string decoder = Bad("layout", ".dec");
    const std::string ascii = Bad("values", ".txt");
    WriteFileBytes(input, TypicalEnsembles(1, 2));
    WriteFileText(decoder, "0080,3,2\r\n$L\r\n");
    WriteFileText(ascii, "7\r\n8\r\n");

    const std::string text = Bad("out", ".txt");
    ProgramResult run = Run(kDralin, {"-in:" + input, "-dec:" + decoder, "-out:" + text}, Locale());
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileText(text), "1\r\n2\r\n");
    EXPECT_FALSE(Exists(Replaced("out", ".txt")));
    EXPECT_EQ(Stored("Dralin", "Last Input File Name"), input);
    EXPECT_EQ(Stored("Dralin", "Last Output File Name"), text);
    EXPECT_EQ(Stored("Dralin", "Last Decoder File Name"), decoder);

    const std::string merged = Bad("merged", ".000");
    run = Run(kQuenta, {"-in:" + input, "-dec:" + decoder, "-ascii:" + ascii, "-out:" + merged}, Locale());
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(merged).size(), TypicalEnsembles(1, 2).size());
    EXPECT_EQ(Stored("Quenta", "Last Input File Name"), input);
    EXPECT_EQ(Stored("Quenta", "Last Output File Name"), merged);
    EXPECT_EQ(Stored("Quenta", "Last Decoder File Name"), decoder);

    const std::string log = Bad("report", ".log");
    run = Run(kVostic, {"-in:" + input, "-out:" + log}, Locale());
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(ReadFileText(log).find("REPORT (" + input + ")"), std::string::npos);
    EXPECT_EQ(Stored("Vostic", "Last Input File Name"), input);

    const std::string prefix = Bad("slice", "");
    run = Run(kPelmar, {"-in:" + input, "-out:" + prefix}, Locale());
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(prefix + "000.000"), TypicalEnsembles(1, 2));
    EXPECT_EQ(Stored("Pelmar", "Last Output File Name"), prefix + "000.000");
}

TEST_P(ByteNames, AreQuotedAsGivenWhenTheyCannotBeOpened)
{
    const std::string missing = Bad("missing", ".000");
    const ProgramResult run = Run(kVostic, {"-in:" + missing, "-out:" + Bad("report", ".log")}, Locale());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Vostic"), "Vostic: Cannot open file " + missing + ". No such file or directory.\n");

    const std::string folder = Bad("folder", ".000");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const ProgramResult folderRun = Run(kVostic, {"-in:" + folder, "-out:" + Bad("report", ".log")}, Locale());
    EXPECT_EQ(MessageLines(folderRun.errors, "Vostic"), "Vostic: Cannot open file " + folder + ". Is a directory.\n");
}

INSTANTIATE_TEST_SUITE_P(Locales, ByteNames, ::testing::Values("C.UTF-8", "C"));

TEST_F(UtilityInputs, AFolderAsOutputCannotBeCreatedAndIsNotAskedAbout)
{
    const std::string input = m_dir.File("in.000");
    const std::string decoder = m_dir.File("layout.dec");
    const std::string ascii = m_dir.File("values.txt");
    const std::string folder = m_dir.File("folder");
    WriteFileBytes(input, TypicalEnsembles(1, 1));
    WriteFileText(decoder, "0080,3,2\r\n$L\r\n");
    WriteFileText(ascii, "7\r\n");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(m_dir.File("cut000.000").c_str(), 0755), 0);

    const struct {
        std::string program;
        std::string caption;
        std::vector<std::string> arguments;
        std::string output;
    } runs[] = {
        {kDralin, "Dralin", {"-in:" + input, "-dec:" + decoder, "-out:" + folder}, folder},
        {kQuenta, "Quenta", {"-in:" + input, "-dec:" + decoder, "-ascii:" + ascii, "-out:" + folder}, folder},
        {kVostic, "Vostic", {"-in:" + input, "-out:" + folder}, folder},
        {kPelmar, "Pelmar", {"-in:" + input, "-out:" + m_dir.File("cut")}, m_dir.File("cut000.000")},
    };
    for (const auto& run : runs) {
        const ProgramResult result = Run(run.program, run.arguments);
        EXPECT_EQ(result.exitCode, 1) << run.caption;
        EXPECT_EQ(MessageLines(result.errors, run.caption),
                  run.caption + ": Cannot create file " + run.output + ".\n");
    }
}

TEST_F(UtilityInputs, APrefixEndingInASlashPutsTheSlicesInsideThatFolder)
{
    const std::string input = m_dir.File("in.000");
    WriteFileBytes(input, TypicalEnsembles(1, 2));
    const std::string folder = m_dir.File("sl");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);

    ProgramResult run = Run(kPelmar, {"-in:" + input, "-out:" + folder + "/"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(folder + "/000.000"), TypicalEnsembles(1, 2));
    EXPECT_FALSE(Exists(m_dir.File("sl000.000")));

    const std::string missing = m_dir.File("none/");
    run = Run(kPelmar, {"-in:" + input, "-out:" + missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Pelmar"), "Pelmar: Cannot create file " + missing + "000.000.\n");
    EXPECT_FALSE(Exists(m_dir.File("none000.000")));
}

TEST_F(UtilityInputs, LinesPastTheBoundEndTheRunWithAMessage)
{
    const std::string endless(std::size_t{2} << 20, 'x');
    const std::string input = m_dir.File("in.000");
    const std::string decoder = m_dir.File("layout.dec");
    WriteFileBytes(input, TypicalEnsembles(1, 2));

    WriteFileText(decoder, "0080,3,2\r\n" + endless);
    ProgramResult run = Run(kDralin, {"-in:" + input, "-dec:" + decoder, "-out:" + m_dir.File("out.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), "Dralin: Error in decoder file line number 2.\n");

    // The first ensemble takes the first line; the second meets the endless one.
    WriteFileText(decoder, "0080,3,2\r\n$L\r\n");
    const std::string ascii = m_dir.File("values.txt");
    const std::string output = m_dir.File("merged.000");
    WriteFileText(ascii, "7\r\n" + endless);
    run = Run(kQuenta, {"-in:" + input, "-dec:" + decoder, "-ascii:" + ascii, "-out:" + output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Quenta"),
              "Quenta: ASCII file " + ascii + " has a line longer than 1048576 bytes.\n");
    EXPECT_EQ(ReadFileBytes(output).size(), TypicalEnsemble(1).size());
}

// An ensemble whose first table entry points at `offset` instead of the
// variable leader, with a velocity data type that does take values.
Bytes WithEntryAt(std::uint16_t offset, std::uint8_t velocityByte)
{
    Bytes ensemble = BuildEnsemble({VariableLeader(1), DataType{kVelocityId, {velocityByte, 0, 0}}});
    ensemble[6] = static_cast<std::uint8_t>(offset & 0xFF);
    ensemble[7] = static_cast<std::uint8_t>(offset >> 8);
    StoreChecksum(ensemble);
    return ensemble;
}

TEST_F(UtilityInputs, TheMergerNeverWritesAnEnsemblesHeaderTableOrChecksum)
{
    const std::string input = m_dir.File("in.000");
    const std::string decoder = m_dir.File("layout.dec");
    const std::string ascii = m_dir.File("values.txt");
    const std::string output = m_dir.File("merged.000");
    const struct {
        std::uint16_t entry;
        const char* decoder;
        const char* values;
    } cases[] = {
        {0, "7F7F,3,2\r\n0100,3,1\r\n$L\r\n", "65000,7\r\n"},   // the byte count
        {0, "7F7F,3,-4\r\n0100,3,1\r\n$L\r\n", "-1,7\r\n"},     // count, type count and table
        {0, "7F7F,3,2\r\n7F7F,6,1\r\n0100,3,1\r\n$L\r\n", "2,1,7\r\n"},
        {6, "0006,1,2\r\n0006,3,2\r\n0100,3,1\r\n$L\r\n", "9,9,7\r\n"}, // the table itself
    };
    for (const auto& each : cases) {
        WriteFileBytes(input, WithEntryAt(each.entry, 0));
        WriteFileText(decoder, each.decoder);
        WriteFileText(ascii, each.values);
        std::remove(output.c_str());
        const ProgramResult run = Run(kQuenta, {"-in:" + input, "-dec:" + decoder, "-ascii:" + ascii,
                                                "-out:" + output});
        EXPECT_EQ(run.exitCode, 0) << each.decoder << run.errors;
        EXPECT_EQ(ReadFileBytes(output), WithEntryAt(each.entry, 7)) << each.decoder;
    }
}

} // namespace
