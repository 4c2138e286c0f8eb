#include "CAsciiLineReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadAllLines(const std::string& content)
{
    TempDir dir;
    const std::string path = dir.File("values.txt");
    WriteFileText(path, content);
    CBaseFile file;
    EXPECT_EQ(file.Open(path), S_OK);
    CAsciiLineReader reader(file);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(line.empty());
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(AsciiLineReader, AcceptsEveryLineEndAndKeepsEmptyLines)
{
    EXPECT_EQ(ReadAllLines("10\r\n20\r\n30\r\n"), (Lines{"10", "20", "30"}));
    EXPECT_EQ(ReadAllLines("10\n20\n30"), (Lines{"10", "20", "30"}));
    EXPECT_EQ(ReadAllLines("10\r20\r"), (Lines{"10", "20"}));
    EXPECT_EQ(ReadAllLines("\r\n\r\n1,2"), (Lines{"", "", "1,2"}));
    EXPECT_EQ(ReadAllLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAllLines(""), Lines{});
    EXPECT_EQ(ReadAllLines("\r\n"), Lines{""});
}

TEST(AsciiLineReader, CrLfSplitByTheBufferIsOneLineEnd)
{
    // The CR is the last byte of the first 64 KiB block, its LF the first of the next.
    const std::string first(64 * 1024 - 1, 'x');
    const Lines lines = ReadAllLines(first + "\r\n" + "next\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "next");
}

TEST(AsciiLineReader, LongLinesSpanSeveralBlocks)
{
    const std::string longLine(200000, '7');
    EXPECT_EQ(ReadAllLines(longLine + "\r\n1"), (Lines{longLine, "1"}));
}

TEST(AsciiLineReader, ReadsNothingFromAClosedFile)
{
    CBaseFile file;
    CAsciiLineReader reader(file);
    std::string line = "old";
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(line.empty());
}
