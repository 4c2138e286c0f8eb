#include "CCmdLineInfo.h"
#include "CDralinDlg.h"
#include "CProcessingDlg.h"
#include "DialogKeyboard.h"
#include "EnsembleBuilder.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "Settings.h"
#include "TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>

namespace {

using namespace ensemble_builder;
using platform::RecordingMessageBackend;

Bytes Numbered(std::uint32_t number)
{
    return BuildEnsemble({VariableLeader(number)});
}

class DralinDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::RemoveProfileValue("Settings", "Last Decoder File Name");
        WriteFileText(m_decoder, "0080,3,2\r\n$L\r\n");
        WriteFileBytes(m_input, Concat({Numbered(4), Numbered(5), Numbered(6), Numbered(7)}));
    }

    static QLineEdit* Field(CDralinDlg& dialog, const char* id) { return dialog.findChild<QLineEdit*>(id); }
    static QPushButton* Button(CDralinDlg& dialog, const char* id) { return dialog.findChild<QPushButton*>(id); }

    // Runs a command line to its end: the exit status, -1 when the dialog did not close.
    int RunCommandLine(const std::string& input, const std::string& output)
    {
        dralin::CCmdLineInfo info;
        info.ParseCommandLine({"/in:" + input, "/out:" + output, "/dec:" + m_decoder});
        CDralinDlg dialog(info);
        dialog.show();
        if (!QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 30000))
            return -1;
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.ExitStatus();
    }

    TempDir m_dir;
    std::string m_input = m_dir.File("in.000");
    std::string m_output = m_dir.File("out.txt");
    std::string m_decoder = m_dir.File("d.dec");
    RecordingMessageBackend m_messages;
};

TEST_F(DralinDlgTest, ShowsItsControls)
{
    dralin::CCmdLineInfo info;
    CDralinDlg dialog(info);
    EXPECT_EQ(dialog.windowTitle(), "Dralin");
    for (const char* id : {"1001", "1008", "1002", "1005", "1006"})
        EXPECT_NE(Field(dialog, id), nullptr) << id;
    EXPECT_EQ(Field(dialog, "1005")->text(), "0");
    EXPECT_EQ(Field(dialog, "1006")->text(), "0");
    const std::vector<std::pair<const char*, QString>> buttons = {
        {"1003", "..."}, {"1009", "..."}, {"1004", "..."}, {"1007", "&Convert"}, {"57670", "&Help"}, {"1", "&Exit"}};
    for (const auto& [id, text] : buttons) {
        ASSERT_NE(Button(dialog, id), nullptr) << id;
        EXPECT_EQ(Button(dialog, id)->text(), text);
    }
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Qel Input File Name:", "Decoder File Name:", "ASCII Output File Name:",
                             "Start Ensemble Number:", "(0 = begining of the file)", "End Ensemble Number:",
                             "(0 = end of the file)"})
        EXPECT_TRUE(labels.contains(text)) << text;
}

TEST_F(DralinDlgTest, FieldsComeFromTheCommandLineAndTheLastDecoder)
{
    SaveLastDecoderFileName("/last/used.dec");
    dralin::CCmdLineInfo info;
    info.ParseCommandLine({"/in:" + m_input, "-out:" + m_output, "dec:" + m_decoder});
    CDralinDlg dialog(info);
    EXPECT_EQ(Field(dialog, "1001")->text().toStdString(), m_input);
    EXPECT_EQ(Field(dialog, "1002")->text().toStdString(), m_output);
    EXPECT_EQ(Field(dialog, "1008")->text(), "/last/used.dec"); // "dec:" lacks its slash
    EXPECT_FALSE(dialog.m_bAutoRun);
}

TEST_F(DralinDlgTest, ConvertsTheRangeTypedIntoTheDialog)
{
    dralin::CCmdLineInfo info;
    CDralinDlg dialog(info);
    dialog.show();
    Field(dialog, "1001")->setText(QString::fromStdString(m_input));
    Field(dialog, "1008")->setText(QString::fromStdString(m_decoder));
    Field(dialog, "1002")->setText(QString::fromStdString(m_output));
    Field(dialog, "1005")->setText("5");
    Field(dialog, "1006")->setText("6");
    Button(dialog, "1007")->click();
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(ReadFileText(m_output), "5\r\n6\r\n");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(DralinDlgTest, MessagesFollowTheOrderOfTheChecks)
{
    dralin::CCmdLineInfo info;
    CDralinDlg dialog(info);
    Field(dialog, "1008")->clear();
    Button(dialog, "1007")->click();
    Field(dialog, "1001")->setText("a");
    Button(dialog, "1007")->click();
    Field(dialog, "1008")->setText("b");
    Button(dialog, "1007")->click();
    Field(dialog, "1002")->setText("a");
    Button(dialog, "1007")->click();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"Please enter input file name.", "Please enter decoder file name.",
                                        "Please enter output file name.",
                                        "Input and output file must have different name."}));
}

TEST_F(DralinDlgTest, CommandLineRunStartsByItselfAndCloses)
{
    EXPECT_EQ(RunCommandLine(m_input, m_output), 0);
    EXPECT_EQ(ReadFileText(m_output), "4\r\n5\r\n6\r\n7\r\n");
}

// Queues a click of Cancel whenever a progress window shows: the run's next pump delivers it.
class CancelWhenProgressShows : public QObject {
public:
    CancelWhenProgressShows() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* progress = qobject_cast<CProcessingDlg*>(watched); progress && event->type() == QEvent::Show)
            QMetaObject::invokeMethod(progress->findChild<QPushButton*>("2"), &QPushButton::click,
                                      Qt::QueuedConnection);
        return false;
    }
};

TEST_F(DralinDlgTest, CancelledCommandLineRunEndsWithOneAndBlamesNoFile)
{
    const std::string fifo = m_dir.File("peer.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CancelWhenProgressShows cancel;
    // In the run between two ensembles, waiting for a FIFO input's writer,
    // and creating a FIFO output that has no reader.
    for (const auto& [input, output] : {std::pair{m_input, m_output}, {fifo, m_output}, {m_input, fifo}}) {
        EXPECT_EQ(RunCommandLine(input, output), 1) << input << " -> " << output;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
        std::remove(m_output.c_str());
    }
}

} // namespace

TEST_F(DralinDlgTest, StartsInTheInputTabsRowByRowAndKeepsItsSize)
{
    dralin::CCmdLineInfo none;
    CDralinDlg dialog(none);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    EXPECT_EQ(FocusAfterTabs(11), QStringList({"1001", "1003", "1008", "1009", "1002", "1004", "1005", "1006",
                                               "1007", "57670", "1", "1001"}));
    EXPECT_TRUE(HasFixedSize(dialog));
}
