#include "CCmdLineInfo.h"
#include "CQuentaDlg.h"
#include "DialogKeyboard.h"

#include "EnsembleBuilder.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "QuentaTestSupport.h"
#include "TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ensemble_builder;
using Texts = std::vector<std::string>;

namespace {

constexpr int kRunTimeoutMs = 20000;

class QuentaDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearLastFileNames();
        m_input = m_dir.File("in.bin");
        m_decoder = m_dir.File("values.dec");
        m_ascii = m_dir.File("values.txt");
        m_output = m_dir.File("out.bin");
        WriteFileBytes(m_input, Concat({BuildEnsemble({VariableLeader(1), DataType{0x0100, Bytes(4, 0)}}),
                                        BuildEnsemble({VariableLeader(2), DataType{0x0100, Bytes(4, 0)}})}));
        WriteFileText(m_decoder, "0100,3,2\r\n$L\r\n");
    }

    void CommandLine(quenta::CCmdLineInfo& info, bool withAscii)
    {
        std::vector<std::string> arguments = {"/in:" + m_input, "/out:" + m_output, "-dec:" + m_decoder};
        if (withAscii)
            arguments.push_back("/ascii:" + m_ascii);
        info.ParseCommandLine(arguments);
    }

    static QString Text(const QWidget& dialog, const char* id)
    {
        return dialog.findChild<QLineEdit*>(id)->text();
    }

    // Runs the dialog as the program does; a stuck run is rejected after a while.
    static int Exec(CQuentaDlg& dialog)
    {
        QTimer::singleShot(kRunTimeoutMs, &dialog, &QDialog::reject);
        return dialog.exec();
    }

    TempDir m_dir;
    std::string m_input, m_decoder, m_ascii, m_output;
    platform::RecordingMessageBackend m_messages;
};

} // namespace

TEST_F(QuentaDlgTest, ShowsEveryControlWithItsText)
{
    quenta::CCmdLineInfo info;
    CQuentaDlg dialog(info);
    EXPECT_EQ(dialog.windowTitle(), "Quenta");
    for (const char* id : {"1001", "1002", "1005", "1006", "1008", "1010"})
        EXPECT_NE(dialog.findChild<QLineEdit*>(id), nullptr) << id;
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"1003", "..."}, {"1004", "..."}, {"1009", "..."}, {"1011", "..."},
        {"1007", "&Merge"}, {"57670", "&Help"}, {"1", "&Exit"}};
    for (const auto& [id, text] : buttons) {
        auto* button = dialog.findChild<QPushButton*>(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), text);
    }
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Qel Input File Name:", "Decoder File Name:", "ASCII File Name:",
                             "Qel Output File Name:", "Start Ensemble Number:", "(0 = begining of the file)",
                             "End Ensemble Number:", "(0 = end of the file)"})
        EXPECT_TRUE(labels.contains(text)) << text;
}

TEST_F(QuentaDlgTest, FillsTheFieldsFromTheCommandLineAndOnlyTheDecoderFromSettings)
{
    SaveLastDecoderFileName("/last/decoder.dec");
    SaveLastAsciiFileName("/last/values.txt");
    SaveLastInputFileName("/last/in.bin");
    quenta::CCmdLineInfo none;
    CQuentaDlg empty(none);
    EXPECT_EQ(Text(empty, "1008"), "/last/decoder.dec");
    EXPECT_EQ(Text(empty, "1010"), "");
    EXPECT_EQ(Text(empty, "1001"), "");
    EXPECT_EQ(Text(empty, "1005"), "0");
    EXPECT_EQ(Text(empty, "1006"), "0");
    EXPECT_FALSE(empty.m_bAutoRun);

    quenta::CCmdLineInfo info;
    CommandLine(info, false);
    CQuentaDlg given(info);
    EXPECT_EQ(Text(given, "1001").toStdString(), m_input);
    EXPECT_EQ(Text(given, "1002").toStdString(), m_output);
    EXPECT_EQ(Text(given, "1008").toStdString(), m_decoder);
    EXPECT_EQ(Text(given, "1010"), "");
    EXPECT_FALSE(given.m_bAutoRun);
}

TEST_F(QuentaDlgTest, AnAutoRunMergesAndCloses)
{
    WriteFileText(m_ascii, "258\r\n3\r\n");
    quenta::CCmdLineInfo info;
    CommandLine(info, true);
    CQuentaDlg dialog(info);
    EXPECT_TRUE(dialog.m_bAutoRun);
    EXPECT_EQ(Exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(dialog.ExitStatus(), 0);
    EXPECT_EQ(ReadFileBytes(m_output),
              Concat({BuildEnsemble({VariableLeader(1), DataType{0x0100, Bytes{0x02, 0x01, 0, 0}}}),
                      BuildEnsemble({VariableLeader(2), DataType{0x0100, Bytes{0x03, 0, 0, 0}}})}));
    EXPECT_EQ(StoredSetting("Last Output File Name"), m_output);
}

TEST_F(QuentaDlgTest, StartsInTheInputTabsRowByRowAndKeepsItsSize)
{
    quenta::CCmdLineInfo info;
    CQuentaDlg dialog(info);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    EXPECT_EQ(FocusAfterTabs(13), QStringList({"1001", "1003", "1008", "1009", "1010", "1011", "1002", "1004",
                                               "1005", "1006", "1007", "57670", "1", "1001"}));
    EXPECT_TRUE(HasFixedSize(dialog));
}

TEST_F(QuentaDlgTest, MergeStandsWithHelpAndExitAtTheRight)
{
    quenta::CCmdLineInfo info;
    CQuentaDlg dialog(info);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    auto* merge = dialog.findChild<QPushButton*>("1007");
    auto* help = dialog.findChild<QPushButton*>("57670");
    auto* exit = dialog.findChild<QPushButton*>("1");
    EXPECT_EQ(merge->y(), help->y());
    EXPECT_GT(merge->x(), dialog.width() / 2);
    // Side by side, with no more than the layout's spacing between them.
    EXPECT_LT(help->x() - merge->geometry().right(), merge->width() / 2);
    EXPECT_LT(exit->x() - help->geometry().right(), help->width() / 2);
}
