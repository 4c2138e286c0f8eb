#include "CTextLineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Result = CTextLineSplitter::Result;

// Feeds `text` in chunks of `chunkBytes` and collects the lines; a line too
// long shows as '!' and the part of it kept. `atEnd` false: a read failed
// after the last chunk.
Lines Split(std::string_view text, std::size_t chunkBytes, bool atEnd = true, std::size_t bound = 64)
{
    CTextLineSplitter splitter(bound);
    Lines lines;
    std::string line;
    for (std::size_t at = 0; at < text.size(); at += chunkBytes) {
        splitter.Feed(text.substr(at, chunkBytes));
        for (Result result = splitter.Next(line); result != Result::NeedMore; result = splitter.Next(line))
            lines.push_back(result == Result::TooLong ? "!" + line : line);
    }
    if (atEnd && splitter.TakeLast(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(TextLineSplitter, CrLfAndCrLfEndOneLineEachWhereverAChunkEnds)
{
    const std::string text = "10\r\n20\n30\r\r\n\n40\n\r50";
    for (std::size_t chunk = 1; chunk <= text.size(); ++chunk)
        EXPECT_EQ(Split(text, chunk), (Lines{"10", "20", "30", "", "", "40", "", "50"})) << chunk;
}

TEST(TextLineSplitter, ALineCutByAFailedReadIsNeverGivenButTheLastLineAtTheEndIs)
{
    EXPECT_EQ(Split("1\r\n2\r\n3", 4, false), (Lines{"1", "2"}));
    EXPECT_EQ(Split("1\r\n2\r\n3", 4), (Lines{"1", "2", "3"}));
    EXPECT_EQ(Split("1\r\n2\r\n", 4), (Lines{"1", "2"}));
    EXPECT_EQ(Split("", 4), Lines{});
}

TEST(TextLineSplitter, ALineOverTheBoundIsCutAndTheLineAfterItFollows)
{
    const std::string text = "abcd\r\nabcdefgh\r\nxy\nabcde";
    for (std::size_t chunk = 1; chunk <= text.size(); ++chunk)
        EXPECT_EQ(Split(text, chunk, true, 4), (Lines{"abcd", "!abcde", "xy", "!abcde"})) << chunk;
}
