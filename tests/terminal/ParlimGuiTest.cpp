#include "AbsentDisplay.h"
#include "CLogWnd.h"
#include "CParlimCF.h"
#include "CParlimDoc.h"
#include "CParlimVW.h"
#include "CPropertySheet.h"
#include "DialogDriver.h"
#include "FakeDesktop.h"
#include "InProcessTerminal.h"
#include "SecondStart.h"
#include "SerialLine.h"
#include "CScListDG.h"
#include "CCmdHistDG.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <set>

namespace {

using namespace std::chrono_literals;

constexpr int kSecondPort = 4;

// Plays the user of the connect wizard: each step runs once a property
// sheet is the modal window, one step per timer tick.
class SheetDriver {
public:
    using Step = std::function<void(CPropertySheet&)>;

    explicit SheetDriver(std::deque<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* sheet = qobject_cast<CPropertySheet*>(QApplication::activeModalWidget());
            if (!sheet || m_steps.empty())
                return;
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            step(*sheet);
        });
        m_timer.start(20);
    }
    bool Done() const { return m_steps.empty(); }

    static Step Click(int id)
    {
        return [id](CPropertySheet& sheet) { Control<QPushButton>(&sheet, id)->click(); };
    }

private:
    std::deque<Step> m_steps;
    QTimer m_timer;
};

class ParlimWindows : public InProcessTerminal {
protected:
    CParlimMF* Frame() const { return m_app->MainFrame(); }
    CParlimDoc* Doc() const { return Frame()->ActiveDocument(); }
    CLogWnd* Window() const { return Doc()->GetLogWnd(); }
    QString Pane(int id) const
    {
        Frame()->UpdateCommandUI();
        return Frame()->PaneText(id);
    }
    static std::string Order() { return platform::GetProfileString(kSectionSettings, kValueOrder); }
    static std::string HandedOver() { return platform::GetProfileString(kSectionSettings, kValueOutsideScriptPath); }

    std::unique_ptr<QProcess> StartSecond(const std::string& script, const QString& display = {})
    {
        return ::StartSecond(m_secondConfig.Path(), script, display);
    }
    QMenu* WindowMenu() const
    {
        for (QAction* action : Frame()->menuBar()->actions()) {
            if (action->text() == "&Window")
                return action->menu();
        }
        return nullptr;
    }

    TempDir m_secondConfig;
    TempDir m_scripts;

    void Type(const QString& keys)
    {
        for (QChar key : keys) {
            if (key == '\r')
                QTest::keyClick(Window(), Qt::Key_Return);
            else if (key == '\t')
                QTest::keyClick(Window(), Qt::Key_Tab);
            else
                QTest::keyClick(Window(), key.toLatin1());
        }
    }
};

} // namespace

TEST_F(ParlimWindows, SavedTableConnectsAtStartAndTypedKeysGoOutOneByOne)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    EXPECT_EQ(Doc()->GetTitle(), "COM3:");
    EXPECT_EQ(Frame()->windowTitle(), "Parlim - Halvorn Pemberlin - [COM3:]");
    EXPECT_EQ(Pane(ID_INDICATOR_SETTINGS), "9600, N, 8, 1");
    EXPECT_EQ(Pane(ID_INDICATOR_TITLE), "COM3:");
    EXPECT_EQ(Order(), "COM03 ");

    Type("r");
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "r"; }));
    QKeyEvent highCharacter(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
    QApplication::sendEvent(Window(), &highCharacter);
    Type("s\bA\r");
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "rs\bA\r"; }));
    ASSERT_TRUE(PumpUntil([&] { return Window()->Lines().size() >= 2; }));
    EXPECT_EQ(Window()->Lines().front(), "rA");
    Type("\r");
    EXPECT_EQ(Doc()->GetCommandHistory(), (std::list<std::string>{"rA", ""}));
    Type("\t");
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "rs\bA\r\r\t"; }));
}

TEST_F(ParlimWindows, GlissomUpperCasesAndSplitsHistoryAtCapitals)
{
    SaveStartupSlots({{kPort, 2}});
    Start(1);
    Type("abc\r");
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "ABC\r"; }));
    EXPECT_EQ(Window()->Lines().front(), "abc");
    Type("wp10");
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "ABC\rWP10"; }));
    EXPECT_EQ(Doc()->GetCommandHistory(), (std::list<std::string>{"A", "B", "C\r", "W"}));
    EXPECT_EQ(Doc()->TypedLine(), "P10");
    // "?" ends a line like a capital and starts the next one; on an empty
    // line it starts nothing.
    Type("?");
    EXPECT_EQ(Doc()->GetCommandHistory().back(), "P10");
    EXPECT_EQ(Doc()->TypedLine(), "?");
    Doc()->TypedLine().clear();
    Type("?1");
    EXPECT_EQ(Doc()->TypedLine(), "");
}

TEST_F(ParlimWindows, LoggingTitlesAndSettingsWrittenAtExit)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    TempDir logs;
    ASSERT_EQ(Doc()->LogFile().Create(logs.File("run.log"), true), S_OK);
    Doc()->SetLogging(true);
    const std::string logged = "COM3:->" + logs.File("run.log");
    EXPECT_EQ(Doc()->GetTitle(), logged);
    EXPECT_EQ(Pane(ID_INDICATOR_TITLE).toStdString(), logged);
    EXPECT_EQ(Frame()->windowTitle().toStdString(), "Parlim - Halvorn Pemberlin - [" + logged + "]");
    Doc()->SetLogging(false);
    EXPECT_EQ(Doc()->GetTitle(), "COM3:");

    m_app->Settings().CurrentSlot().m_nBaud = 8;
    m_app->Settings().m_bEcho = false;
    Frame()->close();
    m_app.reset();
    EXPECT_EQ(Order(), "COM03 ");
    PortTable stored = DeserialisePortTable(platform::GetProfileBinary(kSectionPortSettings, kValueConfig));
    EXPECT_EQ(stored[0].m_nBaud, 8);
    EXPECT_EQ(stored[0].m_nPort, kPort - 1);
    EXPECT_EQ(platform::GetProfileInt(kSectionSettings, kValueEcho, -1), 0);
}

TEST_F(ParlimWindows, ClosingAWindowWhileRunningDropsItsPortFromOrder)
{
    PtyPair second;
    second.MapTo(kSecondPort);
    SaveStartupSlots({{kPort, 0}, {kSecondPort, 0}});
    Start(2);
    EXPECT_EQ(Order(), "COM03 COM04 ");
    QList<QMdiSubWindow*> windows = Frame()->MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_FALSE(windows[0]->isMaximized());
    EXPECT_FALSE(windows[1]->isMaximized());
    EXPECT_LT(windows[0]->geometry().bottom(), windows[1]->geometry().top());

    windows[0]->close();
    ASSERT_TRUE(PumpUntil([&] { return Frame()->Documents().size() == 1; }));
    EXPECT_EQ(Order(), "COM04 ");
}

TEST_F(ParlimWindows, CancelledNewConnectionKeepsTheOpenPortInOrder)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    EXPECT_EQ(Order(), "COM03 ");
    // The next window's slot names the port the first window holds.
    m_app->Settings().m_PortSettings[1].m_nPort = kPort - 1;
    SheetDriver cancel({SheetDriver::Click(CPropertySheet::kIdCancel)});
    Frame()->DispatchCommand(ID_FILE_NEW);
    ASSERT_TRUE(PumpUntil([&] { return cancel.Done() && !QApplication::activeModalWidget(); }));
    ASSERT_TRUE(PumpUntil([&] { return Frame()->Documents().size() == 1; }));
    EXPECT_EQ(Order(), "COM03 ");
}

TEST_F(ParlimWindows, ConnectToABusyPortSaysAccessDenied)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    Doc()->ClosePort();
    EXPECT_EQ(Pane(ID_INDICATOR_SETTINGS), "Disconnected");
    platform::SerialLine holder;
    ASSERT_EQ(holder.Open(m_pty.SlavePath()), S_OK);
    Doc()->Connect();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Access Denied COM3"}));
    EXPECT_FALSE(Doc()->IsConnected());
}

TEST_F(ParlimWindows, WizardInsistsOnAPortAndStoresItsChoices)
{
    platform::SerialLine holder;
    ASSERT_EQ(holder.Open(m_pty.SlavePath()), S_OK);
    SheetDriver refuse({
        [](CPropertySheet& sheet) { EXPECT_EQ(Control<QComboBox>(&sheet, IDC_PORT_COMBO)->count(), 0); },
        SheetDriver::Click(CPropertySheet::kIdWizNext),
        [](CPropertySheet& sheet) { EXPECT_EQ(sheet.ActiveIndex(), 0); },
        SheetDriver::Click(CPropertySheet::kIdCancel),
    });
    Start(0);
    ASSERT_TRUE(PumpUntil([&] { return refuse.Done() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"You Must Select A Com Port"}));
    EXPECT_TRUE(Frame()->Documents().empty());
    EXPECT_EQ(Pane(ID_INDICATOR_SETTINGS), "");
    EXPECT_TRUE(Frame()->QueryCommand(ID_FILE_CONNECT).m_bEnabled);

    holder.Close();
    SheetDriver connect({
        [](CPropertySheet& sheet) {
            Control<QComboBox>(&sheet, IDC_DEVICE_COMBO)->setCurrentIndex(2);
            EXPECT_EQ(Control<QComboBox>(&sheet, IDC_PORT_COMBO)->currentText(), "COM3");
        },
        SheetDriver::Click(CPropertySheet::kIdWizNext),
        [](CPropertySheet& sheet) {
            EXPECT_EQ(Control<QComboBox>(&sheet, IDC_BAUD_COMBO)->currentText(), "9600");
            Control<QComboBox>(&sheet, IDC_BAUD_COMBO)->setCurrentIndex(9);
            Control<QComboBox>(&sheet, IDC_STOP_BITS_COMBO)->setCurrentIndex(1);
        },
        SheetDriver::Click(CPropertySheet::kIdWizNext),
        [](CPropertySheet& sheet) {
            auto* finish = Control<QPushButton>(&sheet, CPropertySheet::kIdWizFinish);
            EXPECT_EQ(finish->text(), "&Finish");
            EXPECT_TRUE(finish->isVisible());
            EXPECT_FALSE(Control<QPushButton>(&sheet, CPropertySheet::kIdWizBack)->isVisible());
            EXPECT_TRUE(Control<QCheckBox>(&sheet, IDC_SOFTWARE_BREAK)->isHidden());
            EXPECT_TRUE(Control<QCheckBox>(&sheet, IDC_SEND_CK)->isHidden());
        },
        SheetDriver::Click(CPropertySheet::kIdWizFinish),
    });
    Frame()->DispatchCommand(ID_FILE_NEW);
    ASSERT_EQ(Frame()->Documents().size(), 1u);
    EXPECT_EQ(Pane(ID_INDICATOR_SETTINGS), "115200, N, 8, 2");
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nBaud, 8);
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nDeviceType, 2);
    EXPECT_FALSE(m_app->Settings().m_bEcho);
    EXPECT_FALSE(m_app->Settings().m_bSendCK);
    EXPECT_FALSE(Frame()->QueryCommand(ID_FILE_CONNECT).m_bEnabled);
}

TEST_F(ParlimWindows, CopyNeedsASelection)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    const CommandRouter::Chain chain = Frame()->ChainFor(Doc());
    auto contextCopyEnabled = [&] {
        std::unique_ptr<QMenu> menu(Frame()->ViewOf(Doc())->BuildContextMenu());
        return menu->findChild<QAction*>(QString::number(ID_EDIT_COPY))->isEnabled();
    };
    EXPECT_FALSE(CommandRouter::Query(chain, ID_EDIT_COPY).m_bEnabled);
    EXPECT_FALSE(contextCopyEnabled());
    Window()->OnAddText("hello world");
    ASSERT_TRUE(PumpUntil([&] { return Window()->CharHeight() > 0 && Window()->TopLine() == 0; }));
    QTest::mouseDClick(Window()->viewport(), Qt::LeftButton, {}, QPoint(Window()->CharWidth(), 2));
    EXPECT_TRUE(CommandRouter::Query(chain, ID_EDIT_COPY).m_bEnabled);
    EXPECT_TRUE(contextCopyEnabled());
}

TEST_F(ParlimWindows, SecondStartHandsItsScriptToTheRunningInstance)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    const std::string script = m_scripts.File("deploy.qvs");
    // Also from a shell whose display has gone (ssh, cron).
    std::unique_ptr<QProcess> second = StartSecond(script, AbsentXDisplay());
    EXPECT_EQ(SecondStartExitCode(*second), 0);
    // The running connection takes the hand-over and tries to run the (missing) file.
    ASSERT_TRUE(PumpUntil([&] { return !m_messages.Texts().empty(); }));
    EXPECT_EQ(m_messages.Texts().front(), "Could Not Open Script File: " + script);
    EXPECT_EQ(HandedOver(), "");
    EXPECT_TRUE(QDir(QString::fromStdString(m_secondConfig.Path())).isEmpty());
}

TEST_F(ParlimWindows, AScriptHandedToADisconnectedConnectionIsRefusedAndForgotten)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    Doc()->ClosePort();
    const std::string script = m_scripts.File("deploy.qvs");
    WriteFileText(script, "DEPLOY\r\n");
    std::unique_ptr<QProcess> second = StartSecond(script);
    EXPECT_EQ(SecondStartExitCode(*second), 1);
    ASSERT_TRUE(PumpUntil([&] { return !m_messages.Texts().empty(); }));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{
                                      "The script " + script + " was not run: the active connection is not connected."});
    EXPECT_EQ(HandedOver(), "");

    // Reconnected, F2 offers the chooser instead of running the refused file.
    Doc()->Connect();
    bool chooserShown = false;
    DialogDriver driver({[&](QDialog& dialog) {
        chooserShown = qobject_cast<CScListDG*>(&dialog) != nullptr;
        dialog.reject();
    }});
    Frame()->DispatchCommand(ID_FILE_SEND_SCRIPT);
    EXPECT_TRUE(chooserShown);
    EXPECT_EQ(m_instrument.Received().find("DEPLOY"), std::string::npos);

    // Without any connection window the second start is refused too.
    Frame()->DispatchCommand(ID_FILE_CLOSE);
    ASSERT_TRUE(PumpUntil([&] { return Frame()->Documents().empty(); }));
    second = StartSecond(script);
    EXPECT_EQ(SecondStartExitCode(*second), 1);
    ASSERT_TRUE(PumpUntil([&] { return m_messages.Texts().size() == 2; }));
    EXPECT_EQ(m_messages.Texts()[1], "The script " + script + " was not run: no connection window is open.");
}

TEST_F(ParlimWindows, AScriptHandedOverDuringAHistoryCommandRunsOnceThatHasStopped)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    const std::string script = m_scripts.File("deploy.qvs");
    WriteFileText(script, "DEPLOY\r\n");
    std::unique_ptr<QProcess> second;
    DialogDriver history({DialogDriver::Enter(CCmdHistDG::kComboId, "$D 600")});
    QTimer whileRunning;
    QObject::connect(&whileRunning, &QTimer::timeout, [&] {
        if (!second && Doc()->IsHistoryRunning())
            second = StartSecond(script);
    });
    whileRunning.start(10);
    Frame()->DispatchCommand(ID_TRANSFER_COMMAND_HISTORY);
    ASSERT_TRUE(second);
    EXPECT_EQ(SecondStartExitCode(*second), 0);
    EXPECT_TRUE(PumpUntil([&] { return m_instrument.Received().find("DEPLOY\r") != std::string::npos; },
                          kGenerous));
    ASSERT_TRUE(PumpUntil([&] { return !Doc()->IsScriptRunning(); }));
    EXPECT_EQ(HandedOver(), "");
}

TEST_F(ParlimWindows, AStoredPlacementOpensInsideTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    auto store = [](const QRect& placement) {
        platform::WriteProfileInt(kSectionSettings, kValueScreenX, placement.x());
        platform::WriteProfileInt(kSectionSettings, kValueScreenY, placement.y());
        platform::WriteProfileInt(kSectionSettings, kValueScreenCx, placement.width());
        platform::WriteProfileInt(kSectionSettings, kValueScreenCy, placement.height());
    };
    auto stored = [] {
        return QRect(platform::GetProfileInt(kSectionSettings, kValueScreenX, 0),
                     platform::GetProfileInt(kSectionSettings, kValueScreenY, 0),
                     platform::GetProfileInt(kSectionSettings, kValueScreenCx, 0),
                     platform::GetProfileInt(kSectionSettings, kValueScreenCy, 0));
    };

    // Saved on a larger screen that was further down: fitted, and kept so.
    store(QRect(-2500, 4000, area.width() + 500, area.height() + 300));
    Start(0);
    EXPECT_EQ(Frame()->frameGeometry(), area);
    EXPECT_EQ(stored(), QRect(Frame()->pos(), Frame()->size()));
    m_app.reset();

    // A placement that fits is used as stored.
    const QRect inside(area.x() + 10, area.y() + 20, area.width() / 2, area.height() / 2);
    store(inside);
    Start(0);
    EXPECT_EQ(QRect(Frame()->pos(), Frame()->size()), inside);
}

TEST_F(ParlimWindows, KeysGiveTheCharactersOfAWindowsKeyboard)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    QTest::keyClick(Window(), Qt::Key_Delete);
    QTest::keyClick(Window(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(Window(), Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(Window(), Qt::Key_Backspace);
    QTest::keyClick(Window(), Qt::Key_Enter);
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received().size() >= 4; }));
    EXPECT_EQ(m_instrument.Received(), "\n\x7f\b\r");
}

TEST_F(ParlimWindows, TheWindowMenuListsTheConnectionWindowsAndActivatesTheChosenOne)
{
    PtyPair second;
    second.MapTo(kSecondPort);
    SaveStartupSlots({{kPort, 0}, {kSecondPort, 0}});
    Start(2);
    Frame()->UpdateCommandUI();
    QMenu* menu = WindowMenu();
    ASSERT_NE(menu, nullptr);
    auto listed = [&] {
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->objectName().isEmpty())
                entries << action->text() + (action->isChecked() ? " *" : "");
        }
        return entries;
    };
    const QString active = QString::fromStdString(Doc()->GetTitle());
    const QStringList entries = listed();
    EXPECT_EQ(entries, QStringList({"&1 COM3:" + QString(active == "COM3:" ? " *" : ""),
                                    "&2 COM4:" + QString(active == "COM4:" ? " *" : "")}));
    const int other = active == "COM3:" ? 1 : 0;
    menu->actions()[menu->actions().size() - 2 + other]->trigger();
    EXPECT_EQ(Doc()->GetTitle(), other == 0 ? "COM3:" : "COM4:");
    EXPECT_EQ(listed().size(), 2);
}

TEST_F(ParlimWindows, OrderFollowsAPortChangedInTheProperties)
{
    PtyPair second;
    second.MapTo(kSecondPort);
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    EXPECT_EQ(Order(), "COM03 ");
    Frame()->DispatchCommand(ID_FILE_DISCONNECT);
    SheetDriver change({
        [](CPropertySheet& sheet) {
            sheet.findChild<QTabWidget*>()->setCurrentIndex(1);
            auto* ports = Control<QComboBox>(&sheet, IDC_PORT_COMBO);
            const int com4 = ports->findText("COM4");
            ASSERT_GE(com4, 0);
            ports->setCurrentIndex(com4);
            emit ports->activated(com4);
        },
        SheetDriver::Click(CPropertySheet::kIdApplyNow),
        SheetDriver::Click(CPropertySheet::kIdOk),
    });
    Frame()->DispatchCommand(ID_FILE_PROPERTIES);
    EXPECT_TRUE(change.Done());
    EXPECT_EQ(Order(), "COM04 ");
    Frame()->DispatchCommand(ID_FILE_CONNECT);
    EXPECT_EQ(Doc()->GetTitle(), "COM4:");
    EXPECT_EQ(Order(), "COM04 ");
    Frame()->DispatchCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return Order().empty(); }));
}

TEST_F(ParlimWindows, ToolbarShowsPicturesAndTheBreakButtonFollowsTheBreakKind)
{
    // No desktop theme: every button shows our own drawing.
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName("none");
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    auto picture = [&](int id) {
        for (QAction* button : Frame()->m_wndToolBar->actions())
            if (button->objectName() == QString::number(id))
                return button->icon().pixmap(20, 20).toImage();
        return QImage();
    };
    auto drawing = [](const char* name) {
        return QImage(QString(":/toolbar/%1.png").arg(name)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const std::pair<int, const char*> buttons[] = {
        {ID_FILE_NEW, "new"},         {ID_FILE_CONNECT, "connect"}, {ID_FILE_DISCONNECT, "disconnect"},
        {ID_FILE_SEND_BREAK, "break"}, {ID_FILE_PROPERTIES, "properties"}, {ID_APP_ABOUT, "about"}};
    for (const auto& [id, name] : buttons) {
        ASSERT_EQ(drawing(name).size(), QSize(20, 20)) << name;
        EXPECT_EQ(picture(id).convertToFormat(QImage::Format_ARGB32_Premultiplied), drawing(name)) << name;
    }
    m_app->Settings().m_bSoftwareBreak = true;
    Frame()->UpdateCommandUI();
    EXPECT_EQ(picture(ID_FILE_SEND_BREAK).convertToFormat(QImage::Format_ARGB32_Premultiplied),
              drawing("softbreak"));
    QIcon::setThemeName(QString());
}

TEST_F(ParlimWindows, HelpContentsSaysWhenNothingCanShowThePage)
{
    FakeOpener none(false);
    HelpPageFile page;
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    Frame()->DispatchCommand(ID_HELP);
    Frame()->MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(PumpUntil([&] { return Frame()->Documents().empty(); }));
    Frame()->DispatchCommand(ID_HELP);
    const std::string noApplication = "No application found to open the file " + platform::HelpPagePath() + ".";
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{noApplication, noApplication}));
    EXPECT_EQ(none.m_opened.size(), 2u);
}

TEST_F(ParlimWindows, F1InAConnectionWindowOpensHelpContents)
{
    FakeOpener desktop(true);
    HelpPageFile page;
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QTest::keyClick(Window(), Qt::Key_F1);
    EXPECT_EQ(desktop.m_opened, std::vector<std::string>{platform::HelpPagePath()});
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(m_instrument.Received(), "");
}

namespace {

// "Group/name" of every value in a settings file as it lies on disk, with the
// file's %XX escapes (a blank is %20) undone.
std::set<std::string> StoredNames(const std::string& file)
{
    auto unescaped = [](const std::string& text) {
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size()) {
                plain += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                plain += text[i];
            }
        }
        return plain;
    };
    std::set<std::string> names;
    std::ifstream in(file);
    std::string group;
    for (std::string line; std::getline(in, line);) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            group = unescaped(line.substr(1, line.size() - 2));
        else if (line.find('=') != std::string::npos)
            names.insert(group + "/" + unescaped(line.substr(0, line.find('='))));
    }
    return names;
}

} // namespace

TEST_F(ParlimWindows, SettingsLieUnderTheirExactNamesInTheSettingsFile)
{
    SaveStartupSlots({{kPort, 0}});
    Start(1);
    const std::string script = m_scripts.File("names.qvs");
    std::ofstream(script) << "ps0\r\n";
    const std::string log = m_scripts.File("names.txt");
    DialogDriver driver({DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(script)),
                         DialogDriver::Enter(CScListDG::kComboId, QString::fromStdString(log))});
    Frame()->DispatchCommand(ID_FILE_SEND_SCRIPT);
    ASSERT_TRUE(PumpUntil([&] { return m_instrument.Received() == "ps0\r" && !Doc()->IsScriptRunning(); }));
    Frame()->DispatchCommand(ID_FILE_LOG);
    ASSERT_TRUE(Doc()->IsLogging());
    Frame()->close();
    m_app.reset();

    // Spelled out here, not taken from the program's constants, so a slip there shows.
    const std::set<std::string> expected = {
        "Port Settings/Config",
        "Settings/Send CK", "Settings/Software Break", "Settings/Echo", "Settings/WaitForPromptInScript",
        "Settings/Order", "Settings/Outside Script Path ", "Settings/Script Path", "Settings/Log Path",
        "Settings/SCBS0", "Settings/SCBL0",
        "Settings/Screen x", "Settings/Screen y", "Settings/Screen cx", "Settings/Screen cy",
        "Port Map/COM3"};
    EXPECT_EQ(StoredNames(m_settings.Path() + "/QSV/Parlim.conf"), expected);
}
