#include "CNumEdit.h"
#include "CZarnelDlg.h"
#include "CExpressionView.h"
#include "DialogKeyboard.h"
#include "Messages.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char* const kTemperatureMessage =
    "Temperature is invalid or out of range.\n\rValid range is -5 to 45 \xC2\xB0" "C.";
const char* const kSalinityMessage = "Salinity is invalid or out of range.\n\rValid range is 0 to 50 ppt.";
const char* const kDepthMessage = "Depth is invalid or out of range.\n\rValid range is 0 to 10,000 m.";
const char* const kReferenceMessage =
    "Reference speed of sound is invalid or out of range.\n\rValid range is 1400 to 1600 m.";

class CZarnelDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ShowForKeyboard(m_dialog));
    }

    CNumEdit* Edit(const char* id) { return m_dialog.findChild<CNumEdit*>(id); }
    QPushButton* Button(const char* id) { return m_dialog.findChild<QPushButton*>(id); }
    QString Text(const char* id) { return Edit(id)->text(); }

    void Type(const char* id, const char* text)
    {
        CNumEdit* edit = Edit(id);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void Click(const char* id) { QTest::mouseClick(Button(id), Qt::LeftButton); }

    bool ResultsCurrent() { return !Button("1001")->isEnabled() && Button("1015")->isEnabled(); }
    bool InputsEdited() { return Button("1001")->isEnabled() && !Button("1015")->isEnabled(); }

    void ExpectFailedField(const char* id, const char* message)
    {
        ASSERT_EQ(m_messages.Texts().size(), 1u);
        EXPECT_EQ(m_messages.Texts().front(), message);
        EXPECT_EQ(m_messages.Types().front(), platform::MB_OK | platform::MB_ICONEXCLAMATION);
        EXPECT_EQ(m_dialog.focusWidget(), Edit(id));
        EXPECT_EQ(Edit(id)->selectedText(), Edit(id)->text());
        EXPECT_TRUE(InputsEdited());
        EXPECT_EQ(Text("1010"), "");
    }

    platform::RecordingMessageBackend m_messages;
    CZarnelDlg m_dialog;
};

TEST_F(CZarnelDlgTest, StartsWithDefaultsAndCurrentResults)
{
    EXPECT_EQ(m_dialog.windowTitle(), "Zarnel (Speed of Sound Calculator)");
    EXPECT_EQ(Text("1007"), "10");
    EXPECT_EQ(Text("1008"), "35");
    EXPECT_EQ(Text("1009"), "0");
    EXPECT_EQ(Text("1011"), "1490");
    EXPECT_EQ(Text("1010"), "1490");
    EXPECT_EQ(Text("1012"), "1");
    EXPECT_TRUE(ResultsCurrent());
    EXPECT_TRUE(Edit("1010")->isReadOnly());
    EXPECT_TRUE(Edit("1012")->isReadOnly());
}

TEST_F(CZarnelDlgTest, EditingAnInputEmptiesTheResults)
{
    QTest::keyClicks(Edit("1009"), "5");
    EXPECT_EQ(Text("1009"), "05");
    EXPECT_EQ(Text("1010"), "");
    EXPECT_EQ(Text("1012"), "");
    EXPECT_TRUE(InputsEdited());
    EXPECT_EQ(m_dialog.Param().GetDepth(), 0.0);
}

TEST_F(CZarnelDlgTest, ApplyChoosesTheEquationByRange)
{
    Type("1007", "5");
    Type("1009", "2000");
    Click("1001");
    EXPECT_EQ(Text("1010"), "1503.9");
    EXPECT_EQ(Text("1012"), "1.009");
    EXPECT_TRUE(ResultsCurrent());
    EXPECT_TRUE(m_dialog.findChild<CExpressionView*>("1006")->IsNineTerm());

    Type("1007", "30");
    Click("1001");
    EXPECT_EQ(Text("1010"), "1577.5");
    EXPECT_FALSE(m_dialog.findChild<CExpressionView*>("1006")->IsNineTerm());
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(CZarnelDlgTest, ApplyRoundsInputsToFourDecimals)
{
    Type("1007", "45.00004");
    Click("1001");
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(m_dialog.Param().GetTemperature(), 45.0);
    EXPECT_TRUE(ResultsCurrent());
    EXPECT_EQ(Text("1007"), "45.00004");
}

TEST_F(CZarnelDlgTest, OutOfRangeTemperatureIsReportedAndSelected)
{
    Type("1007", "45.0001");
    Click("1001");
    ExpectFailedField("1007", kTemperatureMessage);
    EXPECT_EQ(m_dialog.Param().GetTemperature(), 10.0);
}

TEST_F(CZarnelDlgTest, FirstInvalidFieldInOrderIsReported)
{
    Type("1008", "50.1");
    Type("1009", "1-2");
    Click("1001");
    ExpectFailedField("1008", kSalinityMessage);

    m_messages.Clear();
    Type("1008", "50");
    Click("1001");
    ExpectFailedField("1009", kDepthMessage);
    EXPECT_EQ(m_dialog.Param().GetSalinity(), 35.0);
}

TEST_F(CZarnelDlgTest, EmptyInputsReadAsZeroButReferenceIsRequired)
{
    Type("1007", "");
    Type("1008", "");
    Type("1009", "");
    Type("1011", "");
    Click("1001");
    ExpectFailedField("1011", kReferenceMessage);

    m_messages.Clear();
    Type("1011", "1400");
    Click("1001");
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(m_dialog.Param().GetTemperature(), 0.0);
    EXPECT_EQ(m_dialog.Param().GetSalinity(), 0.0);
    EXPECT_EQ(m_dialog.Param().GetDepth(), 0.0);
    EXPECT_EQ(Text("1010"), "1402.3");
}

TEST_F(CZarnelDlgTest, SetToCCopiesTheSpeedIntoTheReference)
{
    Type("1007", "5");
    Type("1009", "2000");
    Click("1001");
    Click("1015");
    EXPECT_EQ(Text("1011"), "1503.9");
    EXPECT_EQ(Text("1012"), "1");
    EXPECT_EQ(m_dialog.Param().GetReference(), 1503.9);
    EXPECT_TRUE(ResultsCurrent());
}

TEST_F(CZarnelDlgTest, SetToCOutsideTheReferenceRangeIsRefused)
{
    Type("1007", "45");
    Type("1008", "50");
    Type("1009", "10000");
    Click("1001");
    EXPECT_EQ(Text("1010"), "1744.6");
    Click("1015");
    ExpectFailedField("1011", kReferenceMessage);
    EXPECT_EQ(m_dialog.Param().GetReference(), 1490.0);
}

TEST_F(CZarnelDlgTest, EnterInAnInputPressesNoButton)
{
    Type("1011", "1500");
    QTest::keyClick(Edit("1011"), Qt::Key_Return);
    Click("1001");
    Edit("1007")->setFocus();
    QTest::keyClick(Edit("1007"), Qt::Key_Return);
    EXPECT_EQ(Text("1011"), "1500");
    EXPECT_EQ(m_dialog.Param().GetReference(), 1500.0);
    EXPECT_TRUE(m_dialog.isVisible());
}

TEST_F(CZarnelDlgTest, ExitClosesTheDialog)
{
    Click("1");
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
}

} // namespace

TEST_F(CZarnelDlgTest, StartsInTheTemperatureTabsPastTheResultsAndKeepsItsSize)
{
    EXPECT_EQ(FocusAfterTabs(7), QStringList({"1007", "1008", "1009", "1011", "1015", "57670", "1", "1007"}));
    EXPECT_TRUE(LooksReadOnly(*Edit("1010")));
    EXPECT_TRUE(LooksReadOnly(*Edit("1012")));
    EXPECT_TRUE(HasFixedSize(m_dialog));
}

TEST_F(CZarnelDlgTest, SpaceOnApplyOrSetToCLeavesTheFocusInAnInputNotOnHelp)
{
    Type("1007", "12");
    Button("1001")->setFocus();
    QTest::keyClick(Button("1001"), Qt::Key_Space);
    ASSERT_TRUE(ResultsCurrent());
    EXPECT_EQ(QApplication::focusWidget(), Edit("1007"));

    Button("1015")->setFocus();
    QTest::keyClick(Button("1015"), Qt::Key_Space);
    ASSERT_TRUE(ResultsCurrent());
    EXPECT_EQ(QApplication::focusWidget(), Edit("1011"));
    EXPECT_TRUE(m_messages.Texts().empty());
}
