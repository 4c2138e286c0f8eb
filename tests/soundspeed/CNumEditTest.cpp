#include "CNumEdit.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    double value;
    bool error;
};

TEST(CNumEditTest, TypedCharactersOutsideTheNumberAlphabetAreDropped)
{
    CNumEdit decimal;
    decimal.SetDecimal(true);
    QTest::keyClicks(&decimal, "1a2. 5-x");
    EXPECT_EQ(decimal.text(), "12.5-");

    CNumEdit integer;
    QTest::keyClicks(&integer, "-1.5e3");
    EXPECT_EQ(integer.text(), "-153");
}

TEST(CNumEditTest, EditingKeysStillWork)
{
    CNumEdit edit;
    edit.SetDecimal(true);
    QTest::keyClicks(&edit, "123");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Minus);
    EXPECT_EQ(edit.text(), "-12");
}

TEST(CNumEditTest, InsertedTextIsFilteredLikeTypedText)
{
    CNumEdit edit;
    edit.SetDecimal(true);
    edit.insert("4");
    edit.insert("1a2.3 \n");
    EXPECT_EQ(edit.text(), "412.3");
    EXPECT_EQ(edit.cursorPosition(), 5);

    edit.setCursorPosition(1);
    edit.insert("x9");
    EXPECT_EQ(edit.text(), "4912.3");
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST(CNumEditTest, GetValueInDecimalMode)
{
    CNumEdit edit;
    edit.SetDecimal(true);
    const ParseCase cases[] = {
        {"", 0, false},        {"12.5", 12.5, false},  {"-3.25", -3.25, false}, {"1.", 1, false},
        {".5", 0.5, false},    {"1-2", 0, true},       {"-", 0, true},          {".", 0, true},
        {"1.2.3", 0, true},    {"--1", 0, true},       {"2147483647", 2147483647, false},
        {"2147483648", 0, true}, {"-2147483649", 0, true},
    };
    for (const ParseCase& c : cases) {
        edit.setText(c.text);
        bool error = !c.error;
        EXPECT_EQ(edit.GetValue(&error), c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(CNumEditTest, GetValueInIntegerModeAndOwnRange)
{
    CNumEdit integer;
    const ParseCase integerCases[] = {
        {"42", 42, false}, {"-7", -7, false}, {"1-5", 0, true}, {"-", 0, true},
        {"99999999999999999999", 0, true}, {"-2147483648", -2147483648.0, false},
    };
    for (const ParseCase& c : integerCases) {
        integer.setText(c.text);
        bool error = !c.error;
        EXPECT_EQ(integer.GetValue(&error), c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }

    CNumEdit ranged(0, 10, true);
    ranged.setText("10");
    EXPECT_EQ(ranged.GetValue(), 10);
    bool error = false;
    ranged.setText("10.01");
    EXPECT_EQ(ranged.GetValue(&error), 0);
    EXPECT_TRUE(error);
}

TEST(CNumEditTest, SetValueTrimsTrailingZeros)
{
    CNumEdit edit;
    edit.SetDecimal(true);
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {1490.0, 4, "1490"},     {10.5, 4, "10.5"},   {1489.99, 1, "1490"}, {0.99999, 3, "1"},
        {0.0, 4, "0"},           {-5.25, 4, "-5.25"}, {100.0, 0, "100"},    {1.0 / 3, 12, "0.333333333"},
        {1503.86, 1, "1503.9"},  {1.0 / 3, -2, "0"},
    };
    for (const auto& c : cases) {
        edit.SetValue(c.value, c.decimals);
        EXPECT_EQ(edit.text(), c.text) << c.value << " " << c.decimals;
    }
}

TEST(CNumEditTest, SetValueClampsToTheRange)
{
    CNumEdit ranged(0, 10, true);
    ranged.SetValue(12.5, 2);
    EXPECT_EQ(ranged.text(), "10");
    ranged.SetValue(-1, 2);
    EXPECT_EQ(ranged.text(), "0");

    CNumEdit integer;
    integer.SetValue(42.9, 4);
    EXPECT_EQ(integer.text(), "42");
    integer.SetValue(1e12, 0);
    EXPECT_EQ(integer.text(), "2147483647");
}

TEST(CNumEditTest, TextLimitFollowsMode)
{
    CNumEdit edit;
    edit.SetLimit();
    EXPECT_EQ(edit.maxLength(), 11);
    edit.SetDecimal(true);
    edit.SetLimit();
    EXPECT_EQ(edit.maxLength(), 17);

    CNumEdit small(-5, 100, false);
    small.SetLimit();
    EXPECT_EQ(small.maxLength(), 3);
}

} // namespace
