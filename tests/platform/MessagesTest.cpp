#include "Messages.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Messages, DefaultAnswersOfUnattendedRuns)
{
    EXPECT_EQ(DefaultAnswer(MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(DefaultAnswer(MB_YESNOCANCEL), IDNO);
}

TEST(Messages, LineBreakPairsAreOneBreak)
{
    EXPECT_EQ(NormaliseLineBreaks("a\r\nb\n\rc\nd\re"), "a\nb\nc\nd\ne");
    EXPECT_EQ(NormaliseLineBreaks("a\r\n\r\nb"), "a\n\nb");
}

TEST(Messages, RecorderAnswersFromScriptThenDefaults)
{
    RecordingMessageBackend recorder;
    recorder.QueueAnswer(IDYES);
    int before = MessagesShown();
    EXPECT_EQ(ShowMessage("first?", MB_YESNO), IDYES);
    EXPECT_EQ(ShowMessage("second?", MB_YESNO), IDNO);
    ASSERT_EQ(recorder.Texts().size(), 2u);
    EXPECT_EQ(recorder.Texts()[0], "first?");
    EXPECT_EQ(MessagesShown(), before + 2);
}
