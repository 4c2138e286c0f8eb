#include "CCmdHistDG.h"
#include "CNbCmdDG.h"
#include "CScListDG.h"
#include "CLineHold.h"
#include "CSendBytesDlg.h"
#include "ConnectedTerminal.h"
#include "DialogDriver.h"
#include "FileNameText.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>

#include <cstdio>
#include <deque>

namespace {

using namespace std::chrono_literals;

class ConnectionCommands : public ConnectedTerminal {
protected:
    CParlimMF& Frame() { return *m_app->MainFrame(); }
    bool Enabled(int id) { return Frame().QueryCommand(id).m_bEnabled; }
    std::string Text(int id) { return Frame().QueryCommand(id).m_text.value_or(""); }
    bool Received(const std::string& bytes)
    {
        return PumpUntil([&] { return m_instrument.Received().find(bytes) != std::string::npos; }, kGenerous);
    }
    void Dispatch(int id) { Frame().DispatchCommand(id); }

    TempDir m_files;
};

TEST_F(ConnectionCommands, RulesFollowConnectionScriptLogAndDeviceType)
{
    Start(4);
    EXPECT_FALSE(Enabled(ID_FILE_CONNECT));
    EXPECT_TRUE(Enabled(ID_FILE_DISCONNECT));
    EXPECT_EQ(Text(ID_FILE_SEND_SCRIPT), "&Send Script File...\tF2");
    EXPECT_EQ(Text(ID_FILE_LOG), "&Log To File...\tF3");
    EXPECT_TRUE(Enabled(ID_FILE_RECOVER_RECORDER));
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER_LOOP_RECORDER));
    EXPECT_FALSE(Enabled(ID_TRANSFER_BINARY_COMMAND));

    m_doc->ScriptRuns().m_bScriptRunning = true;
    for (int id : {ID_FILE_PROPERTIES, ID_FILE_DISCONNECT, ID_FILE_SEND_BREAK, ID_TRANSFER_PC_TIME,
                   ID_TRANSFER_HEX_BYTES, ID_FILE_EDIT_SCRIPT, ID_TRANSFER_COMMAND_HISTORY})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {ID_FILE_SEND_SCRIPT, ID_EDIT_PASTE, ID_VIEW_HEX_ASCII, ID_TOOLS_OPTIONS, ID_FILE_LOG,
                   ID_FILE_VIEW_LOG, ID_WINDOW_CLEAR, ID_FILE_RECOVER_RECORDER})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Text(ID_FILE_SEND_SCRIPT), "&Stop Script File...\tF2");
    // A disabled command is dropped, whichever way it comes.
    EXPECT_FALSE(Frame().DispatchCommand(ID_TRANSFER_HEX_BYTES));
    m_doc->StopScript();

    m_doc->SetLogging(true);
    EXPECT_EQ(Text(ID_FILE_LOG), "End File &Logging\tF3");
    EXPECT_FALSE(Enabled(ID_FILE_VIEW_LOG));
    m_doc->SetLogging(false);

    Dispatch(ID_VIEW_HEX_ASCII);
    EXPECT_TRUE(Frame().QueryCommand(ID_VIEW_HEX_ASCII).m_bChecked);
    EXPECT_FALSE(m_doc->GetLogWnd()->m_bAscii);
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().PaneText(ID_INDICATOR_HEX), "F4: HEX");

    m_doc->LineSettings().m_nDeviceType = 3;
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER_RECORDER));
    EXPECT_TRUE(Enabled(ID_FILE_RECOVER_LOOP_RECORDER));

    Dispatch(ID_FILE_DISCONNECT);
    EXPECT_FALSE(m_doc->IsConnected());
    EXPECT_TRUE(Enabled(ID_FILE_CONNECT));
    EXPECT_FALSE(Enabled(ID_FILE_SEND_SCRIPT));
    EXPECT_EQ(Text(ID_FILE_SEND_SCRIPT), "");
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER_LOOP_RECORDER));
    m_doc->LineSettings().m_nDeviceType = CParlimDoc::kGlissom;
    EXPECT_TRUE(Enabled(ID_TRANSFER_BINARY_COMMAND));
    Dispatch(ID_FILE_CONNECT);
    EXPECT_TRUE(m_doc->IsConnected());
}

TEST_F(ConnectionCommands, AHeldLineGreysAndRefusesFromEverySourceWhatWouldWriteToItOrHoldIt)
{
    Start(0);
    int opened = 0;
    DialogDriver driver(std::deque<DialogDriver::Step>(5, [&](QDialog& dialog) { opened += dialog.close(); }));
    // Key, menu, toolbar, the view's posted history command and a typed "RY" each open a dialog.
    auto fromEverySource = [&] {
        Frame().UpdateCommandUI();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        QTest::keyClick(&Frame(), Qt::Key_B, Qt::ControlModifier);
        Frame().findChild<QAction*>(QString::number(ID_FILE_RECOVER_RECORDER))->trigger();
        Frame().m_wndToolBar->actions()[7]->trigger();
        Frame().PostCommand(m_doc, ID_TRANSFER_COMMAND_HISTORY);
        QCoreApplication::processEvents();
        Type("RY\r");
    };
    {
        CLineHold hold(m_doc->Port());
        fromEverySource();
        EXPECT_EQ(Frame().PaneText(ID_INDICATOR_SETTINGS), "Line busy");
    }
    EXPECT_EQ(opened, 0);
    fromEverySource();
    EXPECT_EQ(opened, 5);
}

TEST_F(ConnectionCommands, TheConnectionMenuShowsWhileAConnectionIsActive)
{
    Start();
    Frame().UpdateCommandUI();
    QMenuBar* bar = Frame().menuBar();
    EXPECT_EQ(bar->objectName(), "129");
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Transfer", "T&ools", "&Window", "&Help"}));
    QMenu* transfer = bar->actions()[3]->menu();
    EXPECT_EQ(transfer->actions()[1]->text(), "Command &History...\tUp");

    Dispatch(ID_FILE_CLOSE);
    ASSERT_TRUE(PumpUntil([&] { return Frame().Documents().empty(); }));
    Frame().UpdateCommandUI();
    EXPECT_EQ(bar->objectName(), "128");
    EXPECT_EQ(bar->actions().size(), 3);
}

TEST_F(ConnectionCommands, BreaksAreSentAsLineBreaksOrAsText)
{
    std::vector<bool> breaks;
    platform::SetBreakObserver([&](const std::string&, bool on) { breaks.push_back(on); });
    Start();
    Dispatch(ID_FILE_SEND_BREAK);
    EXPECT_EQ(breaks, (std::vector<bool>{true, false}));
    Frame().UpdateCommandUI();
    QList<QAction*> buttons = Frame().m_wndToolBar->actions();
    EXPECT_EQ(buttons[5]->icon().cacheKey(), buttons[11]->icon().cacheKey());

    m_app->Settings().m_bSoftwareBreak = true;
    m_doc->SetPinging(true);
    Dispatch(ID_FILE_SEND_BREAK);
    EXPECT_TRUE(Received("==="));
    EXPECT_FALSE(m_doc->IsPinging());
    EXPECT_EQ(breaks.size(), 2u);
    Frame().UpdateCommandUI();
    EXPECT_EQ(buttons[5]->icon().cacheKey(), buttons[12]->icon().cacheKey());
    platform::SetBreakObserver({});
}

TEST_F(ConnectionCommands, TheClockGoesOutAtTheStartOfASecond)
{
    Start();
    Dispatch(ID_TRANSFER_PC_TIME);
    ASSERT_TRUE(Received("\r"));
    const QString sent = QString::fromStdString(m_instrument.Received());
    EXPECT_TRUE(QRegularExpression("^TS \\d\\d/\\d\\d/\\d\\d,\\d\\d:\\d\\d:\\d\\d\\r$").match(sent).hasMatch())
        << sent.toStdString();
}

TEST_F(ConnectionCommands, TheGlissomClockIsPacedOneBytePerTenthOfASecond)
{
    Start(CParlimDoc::kGlissom);
    Dispatch(ID_TRANSFER_PC_TIME);
    ASSERT_TRUE(m_instrument.WaitReceived(10, 5s));
    const QString sent = QString::fromStdString(m_instrument.Received());
    EXPECT_TRUE(QRegularExpression("^T\\d{8}\\r$").match(sent).hasMatch()) << sent.toStdString();
    const auto arrivals = m_instrument.Arrivals();
    ASSERT_EQ(arrivals.size(), 10u);
    EXPECT_GE(arrivals.back().time - arrivals.front().time, 800ms);
}

TEST_F(ConnectionCommands, BinaryCommandsAndHexBytesGoOutAsTyped)
{
    Start(CParlimDoc::kGlissom);
    DialogDriver driver({DialogDriver::Enter(CNbCmdDG::kEditId, "cr1"),
                         DialogDriver::Enter(CSendBytesDlg::kEditId, "0d 0A ff"), DialogDriver::Cancel()});
    Dispatch(ID_TRANSFER_BINARY_COMMAND);
    Dispatch(ID_TRANSFER_HEX_BYTES);
    Dispatch(ID_TRANSFER_HEX_BYTES);
    EXPECT_TRUE(driver.Done());
    ASSERT_TRUE(m_instrument.WaitReceived(8, 5s));
    EXPECT_EQ(m_instrument.Received(), std::string("CR1\0\xC6\r\n\xFF", 8));
}

TEST_F(ConnectionCommands, PasteSendsTheClipboardTextUnchanged)
{
    Start();
    QGuiApplication::clipboard()->setText("CR1\r\nCK\r\n");
    Dispatch(ID_EDIT_PASTE);
    ASSERT_TRUE(m_instrument.WaitReceived(9, 5s));
    EXPECT_EQ(m_instrument.Received(), "CR1\r\nCK\r\n");
}

TEST_F(ConnectionCommands, AHistoryCommandRunsOnceAndIsKeptOnceIgnoringCase)
{
    Start();
    Type("PS0\r");
    ASSERT_EQ(m_doc->GetCommandHistory(), std::list<std::string>{"PS0"});
    DialogDriver driver({DialogDriver::Enter(CCmdHistDG::kComboId, "ps0"),
                         DialogDriver::Enter(CCmdHistDG::kComboId, "PS1")});
    Dispatch(ID_TRANSFER_COMMAND_HISTORY);
    EXPECT_TRUE(Received("ps0\r"));
    Dispatch(ID_TRANSFER_COMMAND_HISTORY);
    EXPECT_TRUE(Received("PS1\r"));
    EXPECT_EQ(m_doc->GetCommandHistory(), (std::list<std::string>{"PS0", "PS1"}));
    EXPECT_FALSE(m_doc->IsScriptRunning());
    EXPECT_FALSE(m_doc->IsHistoryRunning());
}

TEST_F(ConnectionCommands, TheGlissomHistoryOffersTheLineBeingTyped)
{
    Start(CParlimDoc::kGlissom);
    Type("T12");
    QString offered;
    DialogDriver driver({[&](QDialog& dialog) {
        offered = Control<QComboBox>(&dialog, CCmdHistDG::kComboId)->currentText();
        Control<QPushButton>(&dialog, platform::IDCANCEL)->click();
    }});
    Dispatch(ID_TRANSFER_COMMAND_HISTORY);
    EXPECT_EQ(offered, "T12");
    EXPECT_TRUE(m_doc->TypedLine().empty());
}

TEST_F(ConnectionCommands, LoggingAppendsOrOverwritesAndShowsInTheTitle)
{
    Start();
    const std::string path = m_files.File("session.txt");
    WriteFileText(path, "old\n");
    m_app->Settings().m_PortSettings[0].m_bOverwriteLog = 0;
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(path)),
                         [](QDialog& dialog) {
                             // The newest entry is offered; only the box changes.
                             Control<QCheckBox>(&dialog, CScListDG::kCheckId)->setChecked(true);
                             Control<QPushButton>(&dialog, platform::IDOK)->click();
                         }});
    Dispatch(ID_FILE_LOG);
    ASSERT_TRUE(m_doc->IsLogging());
    EXPECT_EQ(m_doc->GetTitle(), "COM3:->" + path);
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueLogPath), path);
    m_instrument.Send("hello");
    ASSERT_TRUE(PumpUntil([&] { return ReadFileText(path) == "old\nhello"; }));
    Dispatch(ID_FILE_LOG);
    EXPECT_FALSE(m_doc->IsLogging());
    EXPECT_EQ(m_doc->GetTitle(), "COM3:");
    EXPECT_EQ(m_doc->GetLogWnd()->m_hLogFile, -1);

    Dispatch(ID_FILE_LOG);
    ASSERT_TRUE(m_doc->IsLogging());
    EXPECT_EQ(ReadFileText(path), "");
    EXPECT_TRUE(m_app->Settings().GetOverwriteLog());
}

TEST_F(ConnectionCommands, ALogFileThatCannotBeOpenedLeavesLoggingOff)
{
    Start();
    const std::string path = m_files.File("missing/session.txt");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(path))});
    Dispatch(ID_FILE_LOG);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Could Not Open " + path});
    EXPECT_FALSE(m_doc->IsLogging());
    EXPECT_EQ(m_doc->GetTitle(), "COM3:");
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueLogPath), "");

    Dispatch(ID_FILE_DISCONNECT);
    m_doc->SetLogging(true);
    Dispatch(ID_FILE_LOG);
    EXPECT_TRUE(m_doc->IsLogging());
    m_doc->SetLogging(false);
}

TEST_F(ConnectionCommands, AChosenScriptRunsAndAMissingOneIsReported)
{
    Start();
    const std::string script = m_files.File("run.txt");
    WriteFileText(script, "ABC\r\n");
    const std::string missing = m_files.File("none.txt");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(script)),
                         DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(missing))});
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_TRUE(Received("ABC\r"));
    EXPECT_FALSE(m_doc->IsScriptRunning());
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueScriptPath), script);
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Could Not Open " + missing});
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueScriptPath), script);
}

TEST_F(ConnectionCommands, ALogAndAScriptWhoseNamesAreNotUtf8AreOpenedUnderTheirBytes)
{
    Start();
    const std::string log = m_files.File("log\xE9.txt");
    const std::string script = m_files.File("run\xE9.txt");
    WriteFileText(script, "ABC\r\n");
    const auto offeredFirst = [](QDialog& dialog) { Control<QPushButton>(&dialog, platform::IDOK)->click(); };
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, platform::NameToText(log)),
                         DialogDriver::Enter(CScListDG::kComboId, platform::NameToText(script)), offeredFirst,
                         offeredFirst});
    Dispatch(ID_FILE_LOG);
    ASSERT_TRUE(m_doc->IsLogging());
    m_instrument.Send("hello");
    EXPECT_TRUE(PumpUntil([&] { return ReadFileText(log) == "hello"; }));
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_TRUE(Received("ABC\r"));
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueLogPath), log);
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueScriptPath), script);

    // The recent lists keep the bytes too: the entries offered next time open the same files.
    Dispatch(ID_FILE_LOG);
    Dispatch(ID_FILE_LOG);
    ASSERT_TRUE(m_doc->IsLogging());
    EXPECT_EQ(m_doc->GetTitle(), "COM3:->" + log);
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_TRUE(Received("ABC\rABC\r"));
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_TRUE(driver.Done());
}

TEST_F(ConnectionCommands, ARepeatingScriptRunsUntilItsFileIsGone)
{
    Start();
    const std::string script = m_files.File("loop.txt");
    WriteFileText(script, "PING\r\n$R\r\n");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(script))});
    Dispatch(ID_FILE_SEND_SCRIPT);
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received().find("PING\rPING\r") != std::string::npos; }));
    EXPECT_TRUE(m_doc->IsScriptRunning());
    std::remove(script.c_str());
    ASSERT_TRUE(PumpUntil([&] { return !m_doc->IsScriptRunning(); }));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Could Not Open Script File: " + script});
}

TEST_F(ConnectionCommands, StopTakesUpAHandedOverScriptOnceTheRunHasEnded)
{
    Start();
    const std::string slow = m_files.File("slow.txt");
    WriteFileText(slow, "$D 30\r\nLATE\r\n");
    const std::string handed = m_files.File("handed.txt");
    WriteFileText(handed, "HANDED\r\n");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(slow))});
    QTimer::singleShot(300, [&] {
        platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, handed);
        Frame().PostCommand(m_doc, ID_FILE_SEND_SCRIPT);
    });
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_TRUE(Received("HANDED\r"));
    EXPECT_EQ(m_instrument.Received().find("LATE"), std::string::npos);
    ASSERT_TRUE(PumpUntil([&] { return !m_doc->IsScriptRunning(); }));
    EXPECT_EQ(platform::GetProfileString(kSectionSettings, kValueOutsideScriptPath), "");
}

TEST_F(ConnectionCommands, StopAndStartInOneTurnLetTheStoppedRunEndFirst)
{
    Start();
    const std::string first = m_files.File("first.txt");
    WriteFileText(first, "$D 0.5\r\nFIRST_NEXT\r\n");
    const std::string second = m_files.File("second.txt");
    WriteFileText(second, "SECOND\r\n$D 0.3\r\nAGAIN\r\n$R\r\n");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(first)),
                         DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(second))});
    // Two presses of F2 handled in one turn of the event loop: stop, then start.
    QTimer::singleShot(100, [&] {
        Dispatch(ID_FILE_SEND_SCRIPT);
        Dispatch(ID_FILE_SEND_SCRIPT);
    });
    Dispatch(ID_FILE_SEND_SCRIPT);
    // The new script repeats although the stopped one ended after it was started.
    ASSERT_TRUE(Received("SECOND\rAGAIN\rSECOND\rAGAIN\r"));
    EXPECT_TRUE(m_doc->IsScriptRunning());
    EXPECT_EQ(m_instrument.Received().find("FIRST_NEXT"), std::string::npos);
    Dispatch(ID_FILE_SEND_SCRIPT);
    EXPECT_FALSE(m_doc->IsScriptRunning());
    EXPECT_TRUE(driver.Done());
}

} // namespace
