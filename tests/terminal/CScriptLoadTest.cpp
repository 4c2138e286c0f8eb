#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CScript.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <list>
#include <string>

namespace {

using Lines = std::list<std::string>;

class ScriptLoadTest : public ::testing::Test {
protected:
    HRESULT LoadText(const std::string& text)
    {
        WriteFileText(m_path, text);
        return m_script.Load(m_path);
    }

    const Lines& Loaded() { return m_document.GetScriptLines(); }

    TempDir m_dir;
    std::string m_path = m_dir.File("script.qvs");
    CParlimApp m_app;
    CParlimDoc m_document{m_app};
    CScript m_script{&m_document};
};

TEST_F(ScriptLoadTest, EveryLineEndBecomesOneCarriageReturnLineFeed)
{
    ASSERT_EQ(LoadText("A\r\nB\nC\rD\r\r\nE"), S_OK);
    EXPECT_EQ(Loaded(), (Lines{"A\r\n", "B\r\n", "C\r\n", "D\r\n", "\r\n", "E"}));
}

TEST_F(ScriptLoadTest, CommentsAndNulBytesAreDroppedEmptyLinesStay)
{
    ASSERT_EQ(LoadText(std::string("; heading\r\n\r\nA\0B\r\n ;x\r\n;last", 27)), S_OK);
    EXPECT_EQ(Loaded(), (Lines{"\r\n", "AB\r\n", " ;x\r\n"}));
}

TEST_F(ScriptLoadTest, RepeatLineEndsTheScript)
{
    ASSERT_EQ(LoadText("A\r\n$Rxyz\r\nB\r\n"), S_OK);
    EXPECT_EQ(Loaded(), (Lines{"A\r\n", "$R"}));
    ASSERT_EQ(LoadText("$r\nB\n"), S_OK);
    EXPECT_EQ(Loaded(), (Lines{"$r"}));
}

TEST_F(ScriptLoadTest, LinesOfAtMostTwoThousandCharactersWithTheirLineEnd)
{
    ASSERT_EQ(LoadText(std::string(1998, 'a') + "\r\n" + std::string(2000, 'b')), S_OK);
    EXPECT_TRUE(m_script.IsValid());
    EXPECT_EQ(Loaded().size(), 2u);

    EXPECT_EQ(LoadText("A\r\n" + std::string(1999, 'a') + "\n"), E_FAIL);
    EXPECT_FALSE(m_script.IsValid());

    EXPECT_EQ(LoadText(std::string(2001, 'a')), E_FAIL);
    EXPECT_FALSE(m_script.IsValid());

    // Reloading starts valid again.
    ASSERT_EQ(LoadText("A"), S_OK);
    EXPECT_TRUE(m_script.IsValid());
}

TEST_F(ScriptLoadTest, LongCommentIsSkippedWholeNotRunAsItsTail)
{
    ASSERT_EQ(LoadText(";" + std::string(2500, 'x') + "$X\r\nA\r\n"), S_OK);
    EXPECT_EQ(Loaded(), (Lines{"A\r\n"}));
}

TEST_F(ScriptLoadTest, MissingFileFailsAsValidWithAnEmptyList)
{
    m_document.GetScriptLines() = {"old\r\n"};
    EXPECT_EQ(m_script.Load(m_dir.File("none.qvs")), E_FAIL);
    EXPECT_TRUE(m_script.IsValid());
    EXPECT_TRUE(Loaded().empty());
}

TEST(ScriptClockCommand, FormatsPerDeviceType)
{
    std::tm local{};
    local.tm_year = 109;
    local.tm_mon = 2;
    local.tm_mday = 15;
    local.tm_hour = 14;
    local.tm_min = 30;
    local.tm_sec = 5;
    EXPECT_EQ(CScript::ClockCommand(local, CParlimDoc::kGlissom), "T03151430\r");
    EXPECT_EQ(CScript::ClockCommand(local, 0), "TS 09/03/15,14:30:05\r");
}

} // namespace
