#include "FileNameText.h"
#include "FilePaths.h"
#include "Messages.h"
#include "Settings.h"
#include "TempDir.h"
#include "TempSettings.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <random>

using platform::NameFromDialogText;
using platform::NameFromText;
using platform::NameToText;

TEST(FileNameText, EveryByteStringSurvivesTheRoundTrip)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string name = "a" + std::string(1, static_cast<char>(byte)) + "b";
        EXPECT_EQ(NameFromText(NameToText(name)), name) << byte;
    }
    // Mostly high bytes, so that valid, broken and cut sequences all turn up.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(0, 12), high(0x80, 0xFF), ascii(0x20, 0x7E), pick(0, 3);
    for (int round = 0; round < 5000; ++round) {
        std::string name;
        for (int i = length(random); i > 0; --i)
            name.push_back(static_cast<char>(pick(random) == 0 ? ascii(random) : high(random)));
        ASSERT_EQ(NameFromText(NameToText(name)), name);
    }
}

TEST(FileNameText, ValidUtf8IsItsTextAndInvalidBytesAreEscaped)
{
    for (const char* valid : {"plain.000", "caf\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
                              "\xf0\x90\x82\x80" /* its low surrogate is U+DC80 */}) {
        EXPECT_EQ(NameToText(valid), QString::fromUtf8(valid)) << valid;
        EXPECT_EQ(NameFromText(QString::fromUtf8(valid)), valid);
    }
    // Overlong, encoded surrogate, past U+10FFFF, cut short, lone continuation.
    for (const char* invalid : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82", "\x80"}) {
        const QString text = NameToText(invalid);
        EXPECT_EQ(text.size(), static_cast<qsizetype>(std::strlen(invalid))) << invalid;
        for (QChar c : text)
            EXPECT_EQ(c.unicode() & 0xFF00, 0xDC00) << invalid;
    }
    // Text typed by a user is plain UTF-8.
    EXPECT_EQ(NameFromText(QString::fromUtf8("\xef\xbf\xbd")), "\xef\xbf\xbd");
}

TEST(FileNameText, DialogTextFindsTheEntryItStandsFor)
{
    TempDir dir;
    WriteFileText(dir.File("bad\xff.000"), "x");
    WriteFileText(dir.File("two\xfe"), "x");
    WriteFileText(dir.File("two\xff"), "x");
    WriteFileText(dir.File("good.000"), "x");
    const QString folder = QString::fromStdString(dir.Path());

    EXPECT_EQ(NameFromDialogText(folder + QString::fromUtf8("/bad\xef\xbf\xbd.000")), dir.File("bad\xff.000"));
    EXPECT_EQ(NameFromDialogText(folder + "/good.000"), dir.File("good.000"));
    EXPECT_EQ(NameFromDialogText(NameToText(dir.File("bad\xff.000"))), dir.File("bad\xff.000"));
    // A new name, and a text two entries show alike, stay as typed.
    EXPECT_EQ(NameFromDialogText(folder + "/new.txt"), dir.File("new.txt"));
    EXPECT_EQ(NameFromDialogText(folder + QString::fromUtf8("/two\xef\xbf\xbd")), dir.File("two\xef\xbf\xbd"));
}

TEST(FileNameText, FileUrlsCarryTheBytes)
{
    EXPECT_EQ(platform::LocalFileUrl("/tmp/bad\xff report.log").toEncoded(), "file:///tmp/bad%FF%20report.log");
    EXPECT_EQ(platform::LocalFileUrl("/tmp/caf\xc3\xa9.log").toLocalFile(), QString::fromUtf8("/tmp/caf\xc3\xa9.log"));
}

TEST(FilePaths, FullPathKeepsATrailingSlashAndLeavesDotsToTheSystem)
{
    EXPECT_EQ(platform::FullPath("/data/sl/"), "/data/sl/");
    EXPECT_EQ(platform::FullPath("/data/sl/.."), "/data/sl/..");
    EXPECT_EQ(platform::FullPath("/"), "/");
    EXPECT_EQ(platform::FullPath("sl/"), platform::FullPath("sl") + "/");
}

TEST(FilePaths, KindOfPathTellsStreamsFromWhatNoRunMayWrite)
{
    using platform::KindOfPath;
    using platform::PathKind;
    TempDir dir;
    WriteFileText(dir.File("file"), "x");
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/null", dir.File("null-link").c_str()), 0);
    EXPECT_EQ(KindOfPath(dir.File("missing")), PathKind::Missing);
    EXPECT_EQ(KindOfPath(dir.File("file")), PathKind::RegularFile);
    EXPECT_EQ(KindOfPath(dir.File("fifo")), PathKind::Stream);
    EXPECT_EQ(KindOfPath(dir.File("null-link")), PathKind::Stream);
    EXPECT_EQ(KindOfPath(dir.Path()), PathKind::Other);
    // A block device, where the machine shows one (never opened here).
    for (const char* device : {"/dev/loop0", "/dev/sda", "/dev/vda", "/dev/nvme0n1"}) {
        struct stat st {};
        if (stat(device, &st) == 0 && S_ISBLK(st.st_mode)) {
            EXPECT_EQ(KindOfPath(device), PathKind::Other) << device;
        }
    }
}

TEST(Settings, NamesAreStoredAsTheirBytes)
{
    TempSettings settings;
    platform::SetProgramName("Sample");
    platform::WriteProfileString("Settings", "Bytes", "/tmp/bad\xff.000");
    platform::WriteProfileString("Settings", "Text", "/tmp/caf\xc3\xa9.000");
    EXPECT_EQ(platform::GetProfileString("Settings", "Bytes"), "/tmp/bad\xff.000");
    EXPECT_EQ(platform::GetProfileString("Settings", "Text"), "/tmp/caf\xc3\xa9.000");
    // Valid text stays readable text in the store.
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "QSV", "Sample");
    EXPECT_EQ(store.value("Settings/Text").typeId(), QMetaType::QString);
}
