#include "CCmdLineInfo.h"
#include "CPelmarDlg.h"
#include "DialogKeyboard.h"
#include "FilePaths.h"
#include "GuiTestApp.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "SliceTestData.h"
#include "TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class PelmarDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        GuiTestApp();
        platform::SetProgramName("Pelmar");
        platform::ResetMessagesShown();
        m_input = m_dir.File("input.ens");
        m_prefix = m_dir.File("cut");
    }

    static QLineEdit* Field(QWidget& dialog, const char* id) { return dialog.findChild<QLineEdit*>(id); }
    static QPushButton* Button(QWidget& dialog, const char* id) { return dialog.findChild<QPushButton*>(id); }

    TempDir m_config;
    TempDir m_dir;
    std::string m_input;
    std::string m_prefix;
    platform::RecordingMessageBackend m_messages;
};

} // namespace

TEST_F(PelmarDialog, ControlsCarryTheirIdsAndTexts)
{
    pelmar::CCmdLineInfo none;
    CPelmarDlg dialog(none);
    EXPECT_EQ(dialog.windowTitle(), "Pelmar");
    for (const char* id : {"1001", "1002", "1000"})
        EXPECT_NE(Field(dialog, id), nullptr) << id;
    EXPECT_EQ(Field(dialog, "1000")->text(), "0");
    EXPECT_EQ(Button(dialog, "1003")->text(), "...");
    EXPECT_EQ(Button(dialog, "1004")->text(), "...");
    EXPECT_EQ(Button(dialog, "1007")->text(), "&Slice");
    EXPECT_TRUE(Button(dialog, "1007")->isDefault());
    EXPECT_EQ(Button(dialog, "57670")->text(), "&Help");
    EXPECT_EQ(Button(dialog, "1")->text(), "&Exit");
    QStringList labels;
    for (auto* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* label : {"Qel Input File Name:", "Qel Output File Prefix:", "Maximum File Size:", "MB",
                              "(0 = no limit)"})
        EXPECT_TRUE(labels.contains(label)) << label;
    EXPECT_FALSE(dialog.m_bAutoRun);
}

TEST_F(PelmarDialog, SliceButtonRunsOnTheFieldsAndLeavesTheDialogOpen)
{
    WriteFileBytes(m_input, NumberedRun({1, 2, 1}, 400000));
    pelmar::CCmdLineInfo none;
    CPelmarDlg dialog(none);
    dialog.show();
    Field(dialog, "1001")->setText(QString::fromStdString(m_input));
    Field(dialog, "1002")->setText(QString::fromStdString(m_prefix));
    Field(dialog, "1000")->setText("0.5");
    Button(dialog, "1007")->click();

    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(ReadFileBytes(m_prefix + "000.000"), NumberedRun({1}, 400000));
    EXPECT_EQ(ReadFileBytes(m_prefix + "000.001"), NumberedRun({2}, 400000));
    EXPECT_EQ(ReadFileBytes(m_prefix + "001.001"), NumberedRun({1}, 400000));
    EXPECT_EQ(GetLastInputFileName(), m_input);
    EXPECT_EQ(GetLastOutputFileName(), m_prefix + "000.000");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(PelmarDialog, RefusedFieldsShowTheirMessage)
{
    pelmar::CCmdLineInfo none;
    CPelmarDlg dialog(none);
    dialog.show();
    Button(dialog, "1007")->click();
    Field(dialog, "1001")->setText("in.ens");
    Field(dialog, "1002")->setText("out");
    Field(dialog, "1000")->setText("0.4");
    Button(dialog, "1007")->click();
    ASSERT_EQ(m_messages.Texts().size(), 2u);
    EXPECT_EQ(m_messages.Texts()[0], "Please enter input file name.");
    EXPECT_EQ(m_messages.Texts()[1].rfind("The maximum file size is invalid", 0), 0u);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PelmarDialog, CommandLineRunsAtOnceWithTheFullSizeValue)
{
    // 0.504 MB is 528,482 bytes: two ensembles of 262,200 bytes fit in it,
    // although the field shows the rounded "0.50" (524,288 bytes).
    WriteFileBytes(m_input, NumberedRun({1, 2}, 262200));
    pelmar::CCmdLineInfo info;
    info.ParseCommandLine({"/in:" + m_input, "-out:" + m_prefix, "/size:0.504"});
    CPelmarDlg dialog(info);
    EXPECT_TRUE(dialog.m_bAutoRun);
    EXPECT_EQ(Field(dialog, "1000")->text(), "0.50");
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes(m_prefix + "000.000"), NumberedRun({1, 2}, 262200));
    EXPECT_FALSE(platform::PathExists(m_prefix + "000.001"));
    EXPECT_EQ(dialog.ExitStatus(), 0);
}

TEST_F(PelmarDialog, CommandLineWithoutPrefixOnlyFillsTheFields)
{
    pelmar::CCmdLineInfo info;
    info.ParseCommandLine({"/in:" + m_input, "/size:abc"});
    CPelmarDlg dialog(info);
    EXPECT_FALSE(dialog.m_bAutoRun);
    EXPECT_EQ(Field(dialog, "1001")->text().toStdString(), m_input);
    EXPECT_EQ(Field(dialog, "1002")->text(), "");
    EXPECT_EQ(Field(dialog, "1000")->text(), "0");
}

TEST_F(PelmarDialog, HeadlessCommandLineRunEndingOnAnErrorEndsWithStatusOne)
{
    pelmar::CCmdLineInfo info;
    info.ParseCommandLine({"/in:" + m_dir.File("missing.ens"), "/out:" + m_prefix});
    CPelmarDlg dialog(info);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Cannot open file " + m_dir.File("missing.ens")
                                                           + ". No such file or directory."});
    EXPECT_EQ(dialog.ExitStatus(), 1);
}

TEST_F(PelmarDialog, StartsInTheInputTabsRowByRowAndKeepsItsSize)
{
    pelmar::CCmdLineInfo none;
    CPelmarDlg dialog(none);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    EXPECT_EQ(FocusAfterTabs(8),
              QStringList({"1001", "1003", "1002", "1004", "1000", "1007", "57670", "1", "1001"}));
    EXPECT_TRUE(HasFixedSize(dialog));
}
