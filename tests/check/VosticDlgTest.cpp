#include "CCmdLineInfo.h"
#include "CVosticDlg.h"
#include "CheckBuilders.h"
#include "DialogKeyboard.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace check_builders;
using ensemble_builder::Concat;

namespace {

// The process's QApplication, made before the first test and destroyed
// after the last, so that nothing it holds outlives the tests.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[17] = "vostic_gui_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
const auto* const g_guiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class VosticDlgTest : public ::testing::Test {
protected:
    // The exit status counts every message of the process, not only this test's.
    VosticDlgTest() { platform::ResetMessagesShown(); }

    std::unique_ptr<CVosticDlg> MakeDialog(const std::vector<std::string>& arguments)
    {
        m_cmdInfo = std::make_unique<vostic::CCmdLineInfo>();
        m_cmdInfo->ParseCommandLine(arguments);
        auto dialog = std::make_unique<CVosticDlg>(*m_cmdInfo);
        dialog->m_openInEditor = [this](const std::string& path) {
            m_opened.push_back(path);
            return m_bEditorInstalled;
        };
        return dialog;
    }

    static QLineEdit* Edit(QWidget& dialog, const char* id) { return dialog.findChild<QLineEdit*>(id); }
    static QString Text(QWidget& dialog, const char* id) { return Edit(dialog, id)->text(); }
    static void Click(QWidget& dialog, const char* id) { dialog.findChild<QAbstractButton*>(id)->click(); }

    // Answers the next file dialog with `path`.
    static void ChooseInNextFileDialog(const QString& path)
    {
        QTimer::singleShot(0, [path] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            chooser->selectFile(path);
            QMetaObject::invokeMethod(chooser, "accept");
        });
    }

    TempDir m_dir;
    std::string m_input = m_dir.File("run.000");
    std::string m_log = m_dir.File("run.log");
    platform::RecordingMessageBackend m_messages;
    std::unique_ptr<vostic::CCmdLineInfo> m_cmdInfo;
    std::vector<std::string> m_opened;
    bool m_bEditorInstalled = true;
};

TEST_F(VosticDlgTest, InputSwitchAloneFillsTheFieldWithoutARun)
{
    auto dialog = MakeDialog({"/in:" + m_input, "/IN:other", "-start:-5"});
    EXPECT_EQ(Text(*dialog, "1001").toStdString(), m_input);
    EXPECT_EQ(Text(*dialog, "1010"), "");
    EXPECT_EQ(Text(*dialog, "1005"), "-5");
    EXPECT_EQ(Text(*dialog, "1006"), "0");
    EXPECT_FALSE(dialog->m_bAutoRun);
    EXPECT_EQ(dialog->windowTitle(), "Vostic");
}

TEST_F(VosticDlgTest, CheckFillsStatisticsAndViewLogOpensTheReport)
{
    WriteFileBytes(m_input, Concat({Ensemble(10, kUp, 4), Ensemble(11), Ensemble(15), FirstLeaderPacket(1, 1),
                                    PingPacket(1), LastLeaderPacket()}));
    auto dialog = MakeDialog({});
    Edit(*dialog, "1001")->setText(QString::fromStdString(m_input));
    Edit(*dialog, "1010")->setText(QString::fromStdString(m_log));
    dialog->findChild<QCheckBox*>("1014")->setChecked(true);
    Click(*dialog, "1007");

    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(Text(*dialog, "1000"), "3");
    EXPECT_EQ(Text(*dialog, "1002"), "3");
    EXPECT_EQ(Text(*dialog, "1004"), "1");
    EXPECT_EQ(Text(*dialog, "1013"), "1");
    EXPECT_EQ(Text(*dialog, "1008"), "10");
    EXPECT_EQ(Text(*dialog, "1009"), "15");
    EXPECT_NE(ReadFileText(m_log).find("Ensemble 15: 00/00/00 00:00:00.00 \r\n"), std::string::npos);
    EXPECT_TRUE(dialog->isEnabled());

    Click(*dialog, "1012");
    EXPECT_EQ(m_opened, std::vector<std::string>{m_log});
}

TEST_F(VosticDlgTest, RunEndingOnAMessageClearsStatisticsAndKeepsTheLogToView)
{
    WriteFileBytes(m_input, Ensemble(1));
    auto dialog = MakeDialog({});
    Edit(*dialog, "1001")->setText(QString::fromStdString(m_input));
    Edit(*dialog, "1010")->setText(QString::fromStdString(m_log));
    Click(*dialog, "1007");
    ASSERT_EQ(Text(*dialog, "1000"), "1");

    Edit(*dialog, "1001")->setText(QString::fromStdString(m_dir.File("absent")));
    Click(*dialog, "1007");
    EXPECT_EQ(Text(*dialog, "1000"), "");
    EXPECT_EQ(Text(*dialog, "1009"), "");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Cannot open file " + m_dir.File("absent") + ". No such file or directory.");
    Click(*dialog, "1012");
    EXPECT_EQ(m_opened, std::vector<std::string>{m_log});
}

TEST_F(VosticDlgTest, ViewLogOpensAnEmptyEditorOrTheFullPathOfARelativeName)
{
    auto dialog = MakeDialog({});
    Click(*dialog, "1012");
    dialog->m_strLogFile = "survey.log";
    Click(*dialog, "1012");
    const std::string full = QDir::current().absoluteFilePath("survey.log").toStdString();
    EXPECT_EQ(m_opened, (std::vector<std::string>{"", full}));
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(VosticDlgTest, ViewLogWithoutAnEditorSaysSo)
{
    m_bEditorInstalled = false;
    auto dialog = MakeDialog({});
    Click(*dialog, "1012");
    dialog->m_strLogFile = m_log;
    Click(*dialog, "1012");
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"No text editor found.",
                                        "No application found to open the file " + m_log + "."}));
}

TEST_F(VosticDlgTest, AutoRunChecksAndCloses)
{
    WriteFileBytes(m_input, Concat({Ensemble(1), Ensemble(2)}));
    auto dialog = MakeDialog({"/in:" + m_input, "/out:" + m_log});
    ASSERT_TRUE(dialog->m_bAutoRun);
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(dialog->ExitStatus(), 0);
    EXPECT_NE(ReadFileText(m_log).find("NO ERRORS FOUND"), std::string::npos);
}

TEST_F(VosticDlgTest, AutoRunWithoutValidEnsemblesFails)
{
    WriteFileBytes(m_input, Concat({Ensemble(1), Ensemble(2)}));
    auto dialog = MakeDialog({"/in:" + m_input, "/out:" + m_log, "/start:50"});
    dialog->exec();
    EXPECT_EQ(dialog->ExitStatus(), 1);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Input file does not contain valid ensembles.");
    EXPECT_EQ(Text(*dialog, "1000"), "");
}

TEST_F(VosticDlgTest, BrowsingTheInputDerivesTheLogName)
{
    WriteFileBytes(m_input, Ensemble(1));
    auto dialog = MakeDialog({});
    ChooseInNextFileDialog(QString::fromStdString(m_input));
    Click(*dialog, "1003");
    EXPECT_EQ(Text(*dialog, "1001").toStdString(), m_input);
    EXPECT_EQ(Text(*dialog, "1010").toStdString(), m_log);
    EXPECT_EQ(GetLastInputFileName(), m_input);
    EXPECT_EQ(GetLastOutputFileName(), m_log);
    Click(*dialog, "1012");
    EXPECT_EQ(m_opened, std::vector<std::string>{m_log});
}

TEST_F(VosticDlgTest, BrowsingLeavesAGivenLogNameAndTheLogToViewAlone)
{
    const std::string other = m_dir.File("other.txt");
    WriteFileBytes(m_input, Ensemble(1));
    auto dialog = MakeDialog({"/out:" + other});
    ChooseInNextFileDialog(QString::fromStdString(m_input));
    Click(*dialog, "1003");
    EXPECT_EQ(Text(*dialog, "1010").toStdString(), other);

    ChooseInNextFileDialog(QString::fromStdString(m_log));
    Click(*dialog, "1011");
    EXPECT_EQ(Text(*dialog, "1010").toStdString(), m_log);
    EXPECT_EQ(dialog->m_strLogFile, "");
}

TEST_F(VosticDlgTest, StartsInTheInputTabsPastTheStatisticsAndKeepsItsSize)
{
    auto dialog = MakeDialog({});
    ASSERT_TRUE(ShowForKeyboard(*dialog));
    EXPECT_EQ(FocusAfterTabs(11), QStringList({"1001", "1003", "1010", "1011", "1005", "1006", "1014", "1007",
                                               "1012", "57670", "1", "1001"}));
    for (const char* id : {"1008", "1009", "1000", "1002", "1004", "1013"})
        EXPECT_TRUE(LooksReadOnly(*Edit(*dialog, id))) << id;
    EXPECT_TRUE(HasFixedSize(*dialog));
}

} // namespace
