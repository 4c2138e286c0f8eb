#include "CAsciiLineReader.h"

#include "TempDir.h"
#include "TextLineLimit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines ReadAllLines(const std::string& content)
{
    TempDir dir;
    WriteFileText(dir.File("values.txt"), content);
    CBaseFile file;
    EXPECT_EQ(file.Open(dir.File("values.txt")), S_OK);
    CAsciiLineReader reader(file);
    Lines lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(AsciiLineReader, AcceptsEveryLineEndAndKeepsEmptyLines)
{
    EXPECT_EQ(ReadAllLines("10\r\n20\r\n30\r\n"), (Lines{"10", "20", "30"}));
    EXPECT_EQ(ReadAllLines("10\n20\n30"), (Lines{"10", "20", "30"}));
    EXPECT_EQ(ReadAllLines("10\r20\r"), (Lines{"10", "20"}));
    EXPECT_EQ(ReadAllLines("\r\n\r\n1,2"), (Lines{"", "", "1,2"}));
    EXPECT_EQ(ReadAllLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAllLines(""), Lines{});
}

TEST(AsciiLineReader, LinesAndLineEndsSpanBufferFills)
{
    // The CR is the last byte of the first 64 KiB fill, its LF the first of the next.
    const std::string first(64 * 1024 - 1, 'x');
    const std::string longLine(200000, '7');
    EXPECT_EQ(ReadAllLines(first + "\r\n" + longLine + "\r\n1"), (Lines{first, longLine, "1"}));
}

TEST(AsciiLineReader, ALineLongerThanTheBoundEndsTheFile)
{
    const std::string atBound(kMaxTextLineBytes, '1');
    EXPECT_EQ(ReadAllLines("2\r\n" + atBound + "\r\n3"), (Lines{"2", atBound, "3"}));

    TempDir dir;
    WriteFileText(dir.File("values.txt"), "2\r\n" + atBound + "1\r\n3\r\n");
    CBaseFile file;
    ASSERT_EQ(file.Open(dir.File("values.txt")), S_OK);
    CAsciiLineReader reader(file);
    std::string line;
    EXPECT_TRUE(reader.ReadLine(line));
    EXPECT_FALSE(reader.LineTooLong());
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.LineTooLong());
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(reader.ReadLine(line)); // nothing after it is read
}
