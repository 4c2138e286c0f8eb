#include "CCommandBytes.h"
#include "CTextEditor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<unsigned char> values)
{
    return std::string(values.begin(), values.end());
}

TEST(BinaryCommand, AppendsTheSixteenBitSumHighByteFirst)
{
    EXPECT_EQ(CCommandBytes::BinaryCommand("CR1"), Bytes({0x43, 0x52, 0x31, 0x00, 0xC6}));
    EXPECT_EQ(CCommandBytes::BinaryCommand(""), Bytes({0x00, 0x00}));
    // 500 x 255 = 127500 wraps to 0xF20C.
    std::string full = CCommandBytes::BinaryCommand(std::string(500, '\xFF'));
    ASSERT_EQ(full.size(), 502u);
    EXPECT_EQ(full.substr(500), Bytes({0xF2, 0x0C}));
}

TEST(BinaryCommand, EndsAtALineFeedAndAfterFiveHundredCharacters)
{
    EXPECT_EQ(CCommandBytes::BinaryCommand("AB\nCD"), Bytes({0x41, 0x42, 0x00, 0x83}));
    EXPECT_EQ(CCommandBytes::BinaryCommand("A\rB"), Bytes({0x41, 0x0D, 0x42, 0x00, 0x90}));
    std::string sent = CCommandBytes::BinaryCommand(std::string(600, 'A'));
    ASSERT_EQ(sent.size(), 502u);
    EXPECT_EQ(sent.substr(0, 500), std::string(500, 'A'));
    EXPECT_EQ(sent.substr(500), Bytes({0x7E, 0xF4}));
}

TEST(HexBytes, PairsOfDigitsWithoutBlanks)
{
    EXPECT_EQ(CCommandBytes::HexBytes("0d 0A ff"), Bytes({0x0D, 0x0A, 0xFF}));
    EXPECT_EQ(CCommandBytes::HexBytes("1 2 3"), Bytes({0x12}));
    EXPECT_EQ(CCommandBytes::HexBytes("123"), Bytes({0x12}));
    EXPECT_EQ(CCommandBytes::HexBytes("GG"), Bytes({0xFF}));
    EXPECT_EQ(CCommandBytes::HexBytes("\t1"), Bytes({0xFF}));
    EXPECT_EQ(CCommandBytes::HexBytes(""), "");
    EXPECT_EQ(CCommandBytes::HexBytes("7"), "");
    EXPECT_EQ(CCommandBytes::HexBytes(std::string(1200, 'a')).size(), 500u);
}

TEST(ClockCommand, LeavesInTheFirstFiftyOneMillisecondsOfASecond)
{
    using namespace std::chrono;
    // A clock read at 12.700 s, whose sleeps overshoot by 60 ms the first time and 10 ms after.
    CCommandBytes::TimePoint clock{milliseconds(12700)};
    std::vector<milliseconds> sleeps;
    const auto now = [&] { return clock; };
    const auto sleep = [&](milliseconds pause) {
        sleeps.push_back(pause);
        clock += pause + (sleeps.size() == 1 ? milliseconds(60) : milliseconds(10));
    };
    EXPECT_EQ(CCommandBytes::StartOfSecond(now, sleep), CCommandBytes::TimePoint(milliseconds(14010)));
    EXPECT_EQ(sleeps, (std::vector<milliseconds>{milliseconds(300), milliseconds(940)}));

    // Already at 50 ms into a second: no sleep at all.
    clock = CCommandBytes::TimePoint(milliseconds(7050));
    sleeps.clear();
    EXPECT_EQ(CCommandBytes::StartOfSecond(now, sleep), CCommandBytes::TimePoint(milliseconds(7050)));
    EXPECT_TRUE(sleeps.empty());
}

TEST(TextEditor, TheFileIsOneArgumentOfTheDesktopEntry)
{
    const std::string path = "/tmp/a b;$(rm -rf x).txt";
    auto command = CTextEditor::FromExecLine("gedit --new-window %U", path);
    EXPECT_EQ(command.first, "gedit");
    EXPECT_EQ(command.second, (std::vector<std::string>{"--new-window", path}));
    command = CTextEditor::FromExecLine("\"/opt/my editor/bin/ed\" %i %F", path);
    EXPECT_EQ(command.first, "/opt/my editor/bin/ed");
    EXPECT_EQ(command.second, (std::vector<std::string>{path}));
    EXPECT_EQ(CTextEditor::FromExecLine("mousepad", path).second, (std::vector<std::string>{path}));
    EXPECT_TRUE(CTextEditor::FromExecLine("", path).first.empty());
}

} // namespace
