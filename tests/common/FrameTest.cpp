#include "CAboutDlg.h"
#include "CCmdLineInfoBase.h"
#include "FileDialogFilters.h"
#include "FilePaths.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "Settings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class TwoKeyCmdLine : public CCmdLineInfoBase {
public:
    TwoKeyCmdLine() : CCmdLineInfoBase("Tests.")
    {
        AddKey("in:", m_strInput, true, "FILE", "input");
        AddKey("size:", m_strSize, false, "MB", "size");
    }
    std::string m_strInput;
    std::string m_strSize;
};

// Keys are tried in table order: "out:" is passed over for "/other", which
// the shorter "o" then takes.
class OverlappingKeys : public CCmdLineInfoBase {
public:
    OverlappingKeys() : CCmdLineInfoBase("Tests.")
    {
        AddKey("out:", m_strOut, false, "V", "out");
        AddKey("o", m_strO, false, "V", "o");
    }
    std::string m_strOut;
    std::string m_strO;
};

} // namespace

TEST(CmdLine, SlashAndMinusStartSwitchesAndFileKeysBecomeFullPaths)
{
    TwoKeyCmdLine info;
    info.ParseCommandLine({"-in:data/run.ens", "/size:1.5"});
    EXPECT_EQ(info.m_strInput, platform::FullPath("data/run.ens"));
    EXPECT_EQ(info.m_strInput.front(), '/');
    EXPECT_EQ(info.m_strSize, "1.5");
}

TEST(CmdLine, OtherCaseNonSwitchesAndUnknownKeysAreIgnored)
{
    TwoKeyCmdLine info;
    info.ParseCommandLine({"/IN:a.ens", "in:b.ens", "/input", "-sizex:3", "plain"});
    EXPECT_EQ(info.m_strInput, "");
    EXPECT_EQ(info.m_strSize, "");
}

TEST(CmdLine, MistypedSwitchesAreKeptAsTypedAndHelpIsAskedFor)
{
    TwoKeyCmdLine info;
    info.ParseCommandLine({"/IN:a.ens", "in:b.ens", "-h", "/in:c.ens", "-sizex:3", "plain"});
    EXPECT_EQ(info.UnknownSwitches(), (std::vector<std::string>{"/IN:a.ens", "-sizex:3"}));
    EXPECT_TRUE(info.HelpRequested());
    EXPECT_TRUE(info.NamesEveryFile());

    info.ParseCommandLine({"--help=no", "/in:"});
    EXPECT_EQ(info.UnknownSwitches(), (std::vector<std::string>{"--help=no"}));
    EXPECT_FALSE(info.HelpRequested());
    EXPECT_FALSE(info.NamesEveryFile());
}

TEST(CmdLine, LastDuplicateWinsAndFirstMatchingKeyDecides)
{
    TwoKeyCmdLine info;
    info.ParseCommandLine({"/size:1", "/size:2", "/in:/tmp/x", "/in:/tmp/y"});
    EXPECT_EQ(info.m_strSize, "2");
    EXPECT_EQ(info.m_strInput, "/tmp/y");

    OverlappingKeys keys;
    keys.ParseCommandLine({"/out:v", "/other"});
    EXPECT_EQ(keys.m_strOut, "v");
    EXPECT_EQ(keys.m_strO, "ther");
}

TEST(CmdLine, ArgvFormSkipsTheProgramAndKeepsValueBytes)
{
    char program[] = "/in:not-a-switch";
    char size[] = "-size:2,5 MB";
    char* argv[] = {program, size, nullptr};
    TwoKeyCmdLine info;
    info.ParseCommandLine(2, argv);
    EXPECT_EQ(info.m_strInput, "");
    EXPECT_EQ(info.m_strSize, "2,5 MB");
}

class LastNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        platform::SetProgramName("FrameTest");
    }
    TempDir m_config;
};

TEST_F(LastNames, RoundTripAndEmptyNamesNeverOverwrite)
{
    EXPECT_EQ(GetLastInputFileName(), "");
    SaveLastInputFileName("/data/in.ens");
    SaveLastOutputFileName("/data/out000.000");
    SaveLastDecoderFileName("/data/d.dec");
    SaveLastAsciiFileName("/data/a.txt");
    SaveLastInputFileName("");
    EXPECT_EQ(GetLastInputFileName(), "/data/in.ens");
    EXPECT_EQ(GetLastOutputFileName(), "/data/out000.000");
    EXPECT_EQ(GetLastDecoderFileName(), "/data/d.dec");
    EXPECT_EQ(GetLastAsciiFileName(), "/data/a.txt");
    ASSERT_TRUE(platform::SyncProfile());

    std::string stored = ReadFileText(m_config.File("QSV/FrameTest.conf"));
    EXPECT_NE(stored.find("[Settings]"), std::string::npos);
    EXPECT_NE(stored.find("Last%20Input%20File%20Name=/data/in.ens"), std::string::npos);
}

TEST(FileFilters, TablesBecomeQtFiltersAndStarDotStarMatchesEverything)
{
    EXPECT_EQ(platform::NameFiltersFromTable("All Files (*.*)|*.*||"), QStringList{"All Files (*)"});
    EXPECT_EQ(platform::NameFiltersFromTable("Decoder Files (*.dec)|*.dec|All Files (*.*)|*.*||"),
              (QStringList{"Decoder Files (*.dec)", "All Files (*)"}));
    EXPECT_EQ(platform::NameFiltersFromTable("Data|*.ens;*.000||"), QStringList{"Data (*.ens *.000)"});
    EXPECT_TRUE(platform::NameFiltersFromTable("").isEmpty());
}

TEST(FileFilters, DirectoryOfStoredName)
{
    EXPECT_EQ(platform::DirectoryOfName("/data/run/x.ens"), "/data/run");
    EXPECT_EQ(platform::DirectoryOfName("/x.ens"), "/");
    EXPECT_EQ(platform::DirectoryOfName("x.ens"), "");
    EXPECT_EQ(platform::DirectoryOfName(""), "");
}

TEST(AboutFacts, VersionTextShowsThirdNumberOnlyWhenSet)
{
    EXPECT_EQ(CAboutDlg::VersionText(2, 3, 0), "Version 2.03");
    EXPECT_EQ(CAboutDlg::VersionText(2, 3, 5), "Version 2.03.05");
    EXPECT_EQ(CAboutDlg::VersionText(1, 12, 123), "Version 1.12.123");
}

