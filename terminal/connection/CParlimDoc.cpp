#include "CParlimDoc.h"

#include "CCmdUI.h"
#include "CConnectionCommandTable.h"
#include "CConnectionCommands.h"
#include "CLogSwitch.h"
#include "CScListDG.h"
#include "CScriptLauncher.h"
#include "CTextEditor.h"
#include "HelpPage.h"
#include "CInstrumentDetector.h"
#include "CLogWnd.h"
#include "CTerminalSettings.h"
#include "IConnectionHost.h"
#include "CRecorderRecovery.h"
#include "CProcessDlg.h"
#include "CTypedCommandWatchers.h"
#include "CYModem.h"
#include "Format.h"
#include "MessagePump.h"
#include "Messages.h"
#include "resource.h"

#include <QApplication>

#include <chrono>
#include <cstdlib>
#include <utility>

using namespace parlim;

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kBackspace = '\b';
constexpr const char* kLogSuffix = "->";

std::uint32_t BaudRateOfCode(std::int32_t code)
{
    static constexpr std::uint32_t rates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    return code >= -1 && code <= 8 ? rates[code + 1] : 9600;
}

char ParityLetter(std::int32_t parity, char otherwise)
{
    switch (parity) {
    case 0: return 'E';
    case 1: return 'O';
    case 2: return 'N';
    case 3: return 'M';
    case 4: return 'S';
    default: return otherwise;
    }
}

const char* DcbParityText(std::uint8_t parity)
{
    static constexpr const char* texts[] = {"N", "O", "E", "M", "S"};
    return parity < 5 ? texts[parity] : "N";
}

const char* DcbStopBitsText(std::uint8_t stopBits)
{
    switch (stopBits) {
    case 0: return "1";
    case 1: return "1.5";
    case 2: return "2";
    default: return "";
    }
}

// "9600, N, 8, 1"
std::string LineText(const platform::LineSettings& dcb)
{
    return platform::Format("%ld, %s, %d, %s", static_cast<long>(dcb.BaudRate), DcbParityText(dcb.Parity),
                            static_cast<int>(dcb.ByteSize), DcbStopBitsText(dcb.StopBits));
}

} // namespace

CParlimDoc::BusyScope::BusyScope(CParlimDoc& document) : m_document(&document)
{
    ++document.m_nBusy;
}

CParlimDoc::BusyScope::~BusyScope()
{
    if (m_document && --m_document->m_nBusy == 0 && m_document->m_bClosePending)
        m_document->DeleteWhenIdle();
}

CParlimDoc::CParlimDoc(IConnectionHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    BuildCommandTable();
    m_serial.SetLineFreedHandler([this] { CScriptLauncher(*this).RunEnded(); });
}

CParlimDoc::~CParlimDoc()
{
    if (m_bPinging)
        platform::ShowMessage(LoadResString(IDS_PINGING_WARNING), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    m_runs.m_bScriptRunning = false;
    if (CLogWnd* window = GetLogWnd())
        window->m_hLogFile = -1;
    if (IsConnected())
        ClosePort();
    // A window that never opened its port (a cancelled wizard) must not drop
    // the port of another window from the list reopened at the next start.
    if (!m_host.IsExiting() && m_nListedComPort != 0)
        m_host.UpdateOpenPortOrder(m_nListedComPort, false);
}

void CParlimDoc::CloseDocument()
{
    m_bClosePending = true;
    m_runs.m_bScriptRunning = false;
    m_runs.m_bConnectionClosing = true;
    if (m_nBusy == 0)
        delete this;
}

void CParlimDoc::EndAtOnce()
{
    if (m_pTransfer)
        std::exchange(m_pTransfer, nullptr)->EndAtOnce();
    ClosePort();
}

void CParlimDoc::DeleteWhenIdle()
{
    // Queued, so the wait that just ended has left the document's code.
    QMetaObject::invokeMethod(
        this, [this] {
            if (m_nBusy == 0)
                delete this;
        },
        Qt::QueuedConnection);
}

void CParlimDoc::SetLogWnd(CLogWnd* window)
{
    m_pLogWnd = window;
    if (window)
        connect(window, &CLogWnd::LogWriteFailed, this, &CParlimDoc::OnLogWriteFailed);
}

CLogWnd* CParlimDoc::GetLogWnd() const
{
    return m_pLogWnd;
}

CTerminalSettings& CParlimDoc::Settings()
{
    return m_host.Settings();
}

std::shared_ptr<void> CParlimDoc::HoldWhileRunning()
{
    return std::make_shared<BusyScope>(*this);
}

bool CParlimDoc::SendsCheckAfterRateChange() const
{
    return m_host.Settings().m_bSendCK;
}

bool CParlimDoc::ChecksAfterRateChange() const
{
    return m_runs.m_bHistoryRunning && SendsCheckAfterRateChange();
}

bool CParlimDoc::UsesSoftwareBreak() const
{
    return m_host.Settings().m_bSoftwareBreak;
}

std::string& CParlimDoc::TypedSoFar(TypedWatch watch)
{
    switch (watch) {
    case TypedWatch::Baud: return m_strWatchCB;
    case TypedWatch::Recorder: return m_strWatchRY;
    case TypedWatch::Ping: return m_strWatchCS;
    case TypedWatch::LoopRecorder: break;
    }
    return m_strWatchMY;
}

int CParlimDoc::PromptWaitSeconds() const
{
    return m_host.Settings().m_nPromptWait;
}

IReceivedBatchSink* CParlimDoc::ReceivedBytesSink() const
{
    return GetLogWnd();
}

void CParlimDoc::ShowText(std::string_view text)
{
    if (CLogWnd* window = GetLogWnd())
        window->OnAddText(text);
}

void CParlimDoc::SetHexView(bool hex)
{
    m_bHexView = hex;
    if (CLogWnd* window = GetLogWnd())
        window->m_bAscii = !hex;
}

std::string CParlimDoc::ReceivedText() const
{
    const CLogWnd* window = GetLogWnd();
    return window != nullptr ? window->GetReceivedText() : std::string();
}

void CParlimDoc::ClearReceivedText()
{
    if (CLogWnd* window = GetLogWnd())
        window->m_strReceived.clear();
}

QWidget* CParlimDoc::DialogParent() const
{
    return m_host.MainWindow();
}

void CParlimDoc::PostFrameCommand(int commandId, bool forConnection)
{
    m_host.PostCommand(forConnection ? this : nullptr, commandId);
}

void CParlimDoc::SetTitle(const std::string& title)
{
    m_strTitle = title;
    emit TitleChanged(QString::fromStdString(title));
}

void CParlimDoc::SelectOwnSlot()
{
    if (m_nPortIndex < kPortSlotCount)
        m_host.Settings().m_nCurPort = m_nPortIndex;
}

void CParlimDoc::LoadPortConfig()
{
    SelectOwnSlot();
    const CPortSettings& slot = m_host.Settings().CurrentSlot();
    m_portConfig = PortConfig{slot.m_nBaud, slot.m_nStopBits, slot.m_nParity,
                              slot.m_nFlow, slot.m_nPort,     slot.m_nDeviceType};
}

void CParlimDoc::SavePortConfig()
{
    SelectOwnSlot();
    CPortSettings& slot = m_host.Settings().CurrentSlot();
    slot.m_nBaud = m_portConfig.m_nBaud;
    slot.m_nStopBits = m_portConfig.m_nStopBits;
    slot.m_nParity = m_portConfig.m_nParity;
    slot.m_nFlow = m_portConfig.m_nFlow;
    slot.m_nPort = m_portConfig.m_nPort;
    slot.m_nDeviceType = m_portConfig.m_nDeviceType;
}

bool CParlimDoc::ShowConnectWizard()
{
    return !m_host.IsUnattended() && m_host.RunConnectWizard(*this);
}

bool CParlimDoc::OnNewDocument()
{
    m_nPortIndex = m_host.ConnectionCount();
    LoadPortConfig();
    if (!m_host.Settings().CurrentSlot().m_bConnectOnStartup) {
        if (!ShowConnectWizard())
            return false;
        LoadPortConfig();
    }
    if (!OpenPort(false)) {
        if (!ShowConnectWizard())
            return false;
        LoadPortConfig();
        if (!OpenPort(true))
            return false;
    }
    m_host.CountConnection();
    if (m_host.Settings().CurrentSlot().m_bBreakOnConnect)
        SendBreak();
    if (const std::string script = m_host.TakeStartScript(); !script.empty())
        CScriptLauncher(*this).RunStartScript(script);
    return true;
}

void CParlimDoc::ListPortInOrder(int comNumber)
{
    if (comNumber == m_nListedComPort)
        return;
    if (m_nListedComPort != 0)
        m_host.UpdateOpenPortOrder(m_nListedComPort, false);
    m_host.UpdateOpenPortOrder(comNumber, true);
    m_nListedComPort = comNumber;
}

void CParlimDoc::SetPortTitle(int comNumber)
{
    std::string title = platform::Format("COM%d:", comNumber);
    if (m_bLogging)
        title += kLogSuffix + m_logFile.m_strPath;
    SetTitle(title);
}

bool CParlimDoc::OpenPort(bool report)
{
    const CPortSettings& slot = m_host.Settings().CurrentSlot();
    int comNumber = slot.m_nPort + 1;
    m_serial.SetParams(GetLogWnd(), static_cast<std::uint8_t>(comNumber), BaudRateOfCode(slot.m_nBaud),
                       ParityLetter(slot.m_nParity, 'S'), static_cast<std::uint8_t>(slot.m_nStopBits), 8,
                       4096, 128);
    if (m_serial.Open() == S_OK) {
        ListPortInOrder(comNumber);
        SetPortTitle(comNumber);
        return true;
    }
    m_serial.Close();
    if (report)
        platform::ShowMessage(platform::Format("Access Denied %s", platform::Format("COM%d", comNumber).c_str()));
    return false;
}

void CParlimDoc::Connect()
{
    if (m_runs.m_bScriptRunning)
        return;
    SavePortConfig();
    OpenPort(true);
}

void CParlimDoc::ApplyPortSettings()
{
    long baud = std::atol(LoadResString(IDS_BAUD_FIRST + 1 + m_portConfig.m_nBaud).c_str());
    char parity = ParityLetter(m_portConfig.m_nParity, 'N');
    std::uint8_t stopBits = m_portConfig.m_nStopBits == 2 ? 2 : 1;
    if (!m_serial.SetComm(static_cast<std::uint32_t>(baud), parity, stopBits, 8)) {
        const platform::LineSettings refused =
            CSerialPort::LineSettingsOf(static_cast<std::uint32_t>(baud), parity, stopBits, 8);
        platform::ShowMessage(platform::Format("COM%d cannot be set to %s.", static_cast<int>(m_serial.ComPort()),
                                               LineText(refused).c_str()),
                              platform::MB_OK | platform::MB_ICONEXCLAMATION);
    }
    SetPortTitle(m_serial.ComPort());
}

std::string CParlimDoc::GetStatusText() const
{
    if (!IsConnected())
        return "Disconnected";
    if (IsLineHeld())
        return "Line busy";
    platform::LineSettings dcb;
    m_serial.GetDCB(dcb);
    return LineText(dcb);
}

void CParlimDoc::ClosePort()
{
    if (IsConnected())
        m_serial.Close();
}

void CParlimDoc::SendBreak()
{
    m_bPinging = false;
    if (m_host.Settings().m_bSoftwareBreak)
        m_serial.Write("===", 3);
    else
        m_serial.SendBreak(kBreakMilliseconds);
}

bool CParlimDoc::WaitForPrompt(std::string& reply, std::uint16_t seconds)
{
    reply.clear();
    if (seconds == 0)
        return false;
    BusyScope busy(*this);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        char byte = 0;
        std::uint32_t count = 0;
        do {
            if (m_serial.Read(&byte, 1, &count) == E_FAIL)
                return false;
            if (count == 1 && byte != 0) {
                reply += byte;
                if (byte == '>')
                    return true;
            }
        } while (count == 1);
        if (platform::PumpMessages() == platform::PUMP_QUIT)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

void CParlimDoc::SetLogging(bool on)
{
    m_bLogging = on;
    CLogWnd* window = GetLogWnd();
    std::size_t suffix = m_strTitle.find(kLogSuffix);
    if (on) {
        if (suffix == std::string::npos)
            m_strTitle += kLogSuffix + m_logFile.m_strPath;
        if (window)
            window->m_hLogFile = m_logFile.m_hFile;
    } else {
        if (suffix != std::string::npos && suffix > 0)
            m_strTitle.erase(suffix);
        if (window)
            window->m_hLogFile = -1;
    }
    if (window)
        window->m_nLogBytes = 0;
    SetTitle(m_strTitle);
}

void CParlimDoc::OnLogWriteFailed()
{
    SetLogging(false);
    m_logFile.Close();
}

void CParlimDoc::SendKey(char ch)
{
    // A recovery or a detection owns the line: the key cannot go out, and
    // the user hears so.
    if (IsLineHeld()) {
        QApplication::beep();
        return;
    }
    if (m_host.Settings().m_bEcho)
        EchoKey(ch);
    if (m_portConfig.m_nDeviceType == kGlissom && ch >= 'a' && ch <= 'z')
        ch = static_cast<char>(ch - 'a' + 'A');
    if (ch == kCR || ch == kLF) {
        if (CLogWnd* window = GetLogWnd())
            window->m_strReceived.clear();
    }
    m_serial.Write(&ch, 1);
    CaptureHistory(ch);
    WatchTypedCharacter(ch);
}

void CParlimDoc::EchoKey(char ch)
{
    CLogWnd* window = GetLogWnd();
    if (!window)
        return;
    if (ch == kCR)
        window->OnAddText("\r\n");
    else if (ch == kBackspace)
        window->OnAddText("\b \b");
    else
        window->OnAddText(&ch, 1);
}

void CParlimDoc::CaptureHistory(char ch)
{
    if (m_portConfig.m_nDeviceType == kGlissom) {
        // Commands of this instrument start with a capital (or "?", "@"): the
        // next one ends the line before it and starts the new line.
        if (!m_strTypedLine.empty()) {
            if (ch >= '?' && ch <= 'Z') {
                m_history.push_back(m_strTypedLine);
                m_strTypedLine.clear();
            }
            m_strTypedLine += ch;
        } else if (ch >= 'A' && ch <= 'Z') {
            m_strTypedLine += ch;
        }
        return;
    }
    if (ch == kCR) {
        m_history.push_back(m_strTypedLine);
        m_strTypedLine.clear();
    } else if (ch == kBackspace) {
        if (!m_strTypedLine.empty())
            m_strTypedLine.pop_back();
    } else {
        m_strTypedLine += ch;
    }
}

void CParlimDoc::WatchTypedCharacter(char ch)
{
    BusyScope busy(*this);
    // A recovery command runs at once, for this connection and through its update rule.
    auto runCommand = [this](int id) { m_host.DispatchCommand(*this, id); };
    CTypedCommandWatchers(*this, runCommand).Watch(ch);
}

bool CParlimDoc::DetectInstrumentForScript(const std::function<void()>& pause)
{
    if (!IsConnected())
        return false;
    BusyScope busy(*this);
    CProcessDlg progress;
    progress.Create(m_host.MainWindow());
    CInstrumentDetector detector(*this, CInstrumentDetector::Variant::Script);
    if (pause)
        detector.SetPause(pause);
    const CInstrumentDetector::Result result = detector.DetectInstrument(progress);
    if (result.found)
        TakeDetectedBaud(result.baudCode);
    else if (CLogWnd* window = GetLogWnd())
        window->OnAddText("\n[ ADCP NOT FOUND ]\n\n");
    return result.found;
}

bool CParlimDoc::DetectInstrumentForPage(QWidget* page)
{
    if (!IsConnected())
        return false;
    BusyScope busy(*this);
    CProcessDlg progress;
    progress.Create(page);
    const CInstrumentDetector::Result result =
        CInstrumentDetector(*this, CInstrumentDetector::Variant::Page).DetectInstrument(progress);
    if (result.found)
        TakeDetectedBaud(result.baudCode);
    return result.found;
}

void CParlimDoc::TakeDetectedBaud(std::int32_t baudCode)
{
    m_portConfig.m_nBaud = baudCode;
    m_portConfig.m_nParity = 2;
    m_portConfig.m_nStopBits = 0;
    SavePortConfig();
}

void CParlimDoc::BuildCommandTable()
{
    CConnectionCommandTable::Register(*this, m_commands);
    m_commands.AddUpdateRule(ID_INDICATOR_TITLE, [this](CCmdUI& ui) { OnUpdatePaneTitle(ui); });
    m_commands.AddUpdateRule(ID_INDICATOR_SETTINGS, [this](CCmdUI& ui) { OnUpdatePaneStatus(ui); });
    m_commands.AddUpdateRule(ID_INDICATOR_LOG, [this](CCmdUI& ui) { OnUpdatePaneLog(ui); });
    m_commands.AddUpdateRule(ID_INDICATOR_HEX, [this](CCmdUI& ui) { OnUpdatePaneHex(ui); });
    m_commands.AddUpdateRule(ID_INDICATOR_SCRIPT, [this](CCmdUI& ui) { OnUpdatePaneScript(ui); });
}

void CParlimDoc::UpdateBreakPicture() const
{
    m_host.UpdateBreakPicture();
}

void CParlimDoc::OnUpdatePaneTitle(CCmdUI& ui) const
{
    ui.SetText(m_strTitle);
}

void CParlimDoc::OnUpdatePaneStatus(CCmdUI& ui) const
{
    ui.SetText(GetStatusText());
}

void CParlimDoc::OnUpdatePaneLog(CCmdUI& ui) const
{
    const bool blink = m_host.BlinkPhase();
    ui.SetText(!m_bLogging ? "F3: Log OFF" : blink ? "F3: Log ON" : "F3:       ");
}

void CParlimDoc::OnUpdatePaneHex(CCmdUI& ui) const
{
    ui.SetText(m_bHexView ? "F4: HEX" : "F4: ASCII");
}

void CParlimDoc::OnUpdatePaneScript(CCmdUI& ui) const
{
    const bool blink = m_host.BlinkPhase();
    ui.SetText(!m_runs.m_bScriptRunning ? "F2: Script OFF" : blink ? "F2: Script ON" : "F2:          ");
}

void CParlimDoc::OnRecoverRecorder()
{
    BusyScope busy(*this);
    CRecorderRecovery(*this).RecoverRecorder();
}

void CParlimDoc::OnRecoverLoopRecorder()
{
    BusyScope busy(*this);
    CRecorderRecovery(*this).RecoverLoopRecorder();
}

// Connection commands; script, history and log commands.

void CParlimDoc::OnSendBreak()
{
    if (IsConnected() && !m_runs.m_bScriptRunning)
        SendBreak();
}

void CParlimDoc::OnPcTimeToAdcp()
{
    CConnectionCommands(*this, DialogParent()).PcTimeToAdcp();
}

void CParlimDoc::OnSendBinaryCommand()
{
    CConnectionCommands(*this, DialogParent()).SendBinaryCommand();
}

void CParlimDoc::OnSendBytes()
{
    CConnectionCommands(*this, DialogParent()).SendBytes();
}

void CParlimDoc::OnPaste()
{
    CConnectionCommands(*this, DialogParent()).Paste();
}

void CParlimDoc::OnConnect()
{
    if (!m_runs.m_bScriptRunning)
        Connect();
}

void CParlimDoc::OnDisconnect()
{
    if (IsConnected())
        ClosePort();
}

void CParlimDoc::OnProperties()
{
    SavePortConfig();
    m_host.EditConnectionProperties(*this);
    LoadPortConfig();
    if (IsConnected())
        ApplyPortSettings();
    else
        ListPortInOrder(m_portConfig.m_nPort + 1);
}

void CParlimDoc::OnOptions()
{
    SavePortConfig();
    m_host.EditOptions();
    LoadPortConfig();
}

void CParlimDoc::OnClearWindow()
{
    if (CLogWnd* window = GetLogWnd())
        window->Clear();
}

void CParlimDoc::OnHexAscii()
{
    SetHexView(!m_bHexView);
}

void CParlimDoc::OnHelpContents()
{
    platform::ShowHelpPage();
}

void CParlimDoc::OnSendScript()
{
    CScriptLauncher(*this).SendScript();
}

void CParlimDoc::OnRunScript()
{
    CScriptLauncher(*this).RunScript();
}

void CParlimDoc::OnCommandHistory()
{
    CScriptLauncher(*this).CommandHistory();
}

void CParlimDoc::OnLogToFile()
{
    if (IsConnected())
        StartStopLogging();
}

void CParlimDoc::StartStopLogging()
{
    CLogSwitch(*this).StartStop();
}

void CParlimDoc::OnEditScript()
{
    OpenChosenInEditor(true);
}

void CParlimDoc::OnViewLogFile()
{
    OpenChosenInEditor(false);
}

void CParlimDoc::OpenChosenInEditor(bool scriptMode)
{
    CScListDG chooser(m_host.Settings(), scriptMode, true, m_host.MainWindow());
    if (chooser.DoModal() == platform::IDOK)
        CTextEditor::Open(chooser.GetSelection());
}
