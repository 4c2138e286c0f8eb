#pragma once
#include "CBaseFile.h"
#include "CSerialPort.h"
#include "CommandTable.h"
#include "IRecoveryConnection.h"
#include "IScriptConnection.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <list>
#include <string>

class CLogWnd;
class CParlimVW;
class CPropertySheet;
class QWidget;
struct CCmdUI;

// One serial connection: its settings copy, its port, its log file, the
// command being typed and the command history. Lives as long as its window;
// its deletion waits for any wait running inside it.
class CParlimDoc : public QObject, public IScriptConnection, public IRecoveryConnection {
    Q_OBJECT
public:
    using PortConfig = ::PortConfig;
    static constexpr int kGlissom = DeviceType::kGlissom;
    static constexpr std::uint32_t kBreakMilliseconds = 400;

    // Keeps the document alive while a wait or a command runs inside it.
    class BusyScope {
    public:
        explicit BusyScope(CParlimDoc& document);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        QPointer<CParlimDoc> m_document;
    };

    explicit CParlimDoc(QObject* parent = nullptr);
    ~CParlimDoc() override;

    bool OnNewDocument();
    void LoadPortConfig();
    void SavePortConfig() override;
    bool OpenPort(bool report);
    void Connect();
    void ApplyPortSettings() override;
    std::string GetStatusText() const;
    bool IsConnected() const override { return m_serial.IsOpen(); }
    void ClosePort();
    void SendBreak() override;
    bool WaitForPrompt(std::string& reply, std::uint16_t seconds) override;
    void SetLogging(bool on) override;
    std::string GetLogPath() const override { return m_strLogPath; }
    void SetLogPath(const std::string& path) override { m_strLogPath = path; }
    CLogWnd* GetLogWnd() const;
    std::list<std::string>& GetScriptLines() override { return m_scriptLines; }
    std::list<std::string>& GetCommandHistory() { return m_history; }
    void SetScriptLine(const std::string& line);
    void SendKey(char ch);

    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);
    void SetView(CParlimVW* view);
    CParlimVW* View() const;
    const CommandTable& Commands() const { return m_commands; }

    // What scripts, watchers and detection reach through their interfaces.
    std::shared_ptr<void> HoldWhileRunning() override;
    CSerialPort& Port() override { return m_serial; }
    bool SendsCheckAfterRateChange() const override;
    bool UsesSoftwareBreak() const override;
    std::string& TypedSoFar(TypedWatch watch) override;
    void SetPinging(bool pinging) override { m_bPinging = pinging; }
    bool IsScriptRunning() const override { return m_bScriptRunning; }
    PortConfig& LineSettings() override { return m_portConfig; }
    bool ChecksAfterRateChange() const override;
    int PromptWaitSeconds() const override;
    IReceivedBatchSink* ReceivedBytesSink() const override;
    void ShowText(std::string_view text) override;
    void SetHexView(bool hex) override;
    CBaseFile& LogFile() override { return m_logFile; }
    bool IsLogging() const override { return m_bLogging; }
    void PostFrameCommand(int commandId, bool forConnection) override;
    std::string ReceivedText() const override;
    void ClearReceivedText() override;
    QWidget* DialogParent() const override;

    // The window closed: a running script is told to stop, and the document
    // goes as soon as no wait runs inside it.
    void CloseDocument();

    CPropertySheet* m_pPropSheet = nullptr;
    std::string m_strScriptPath;
    CBaseFile m_logFile;
    PortConfig m_portConfig;
    CSerialPort m_serial;
    bool m_bLogging = false;
    bool m_bHexView = false;
    bool m_bScriptRunning = false;
    bool m_bHistoryRunning = false;
    bool m_bPinging = false;
    std::string m_strTypedLine;
    std::list<std::string> m_scriptLines;
    std::list<std::string> m_history;
    std::string m_strWatchCB;
    std::string m_strWatchRY;
    std::string m_strWatchMY;
    std::string m_strWatchCS;

    // Connection commands and their dialogs; script, history and log commands.
    void OnSendBreak();
    void OnPcTimeToAdcp();
    void OnSendBinaryCommand();
    void OnSendBytes();
    void OnPaste();
    void OnConnect();
    void OnDisconnect();
    void OnProperties();
    void OnOptions();
    void OnClearWindow();
    void OnHexAscii();
    void OnHelpContents();
    void OnSendScript();
    void OnRunScript();
    void OnCommandHistory();
    void OnLogToFile();
    // Stops logging, or lets the user choose a log file and starts it.
    void StartStopLogging() override;
    void OnEditScript();
    void OnViewLogFile();
    // Script runs under way here; a stopped one may still be unwinding.
    int m_nScriptRunsActive = 0;
    // A start that came while a stopped run was unwinding, posted once it has returned.
    int m_nDeferredScriptCommand = 0;
    // A posted run-script command is still wanted; a stop cancels it.
    bool m_bRunScriptPending = false;
    // "Order" lists the port this connection uses: the one it opened, or the
    // one its settings were changed to since.
    void ListPortInOrder(int comNumber);
    // The application's current settings slot becomes this connection's own.
    void SelectOwnSlot();
    // Posts the run of m_strScriptPath to this connection.
    void PostRunScript();

    // Recorder and loop-recorder recovery.
    void OnRecoverRecorder();
    void OnRecoverLoopRecorder();
    // Bytes the recorder will send (0 or more), -3 without a prompt.
    std::int64_t PrepareRecorderDownload();
    // Bytes used in the loop recorder, -1 when not named, -2 on "ERR",
    // -3 without a prompt.
    std::int64_t QueryLoopRecorderSize();

    // Typed-command watchers and instrument detection.
    // The script's detect command: searches over the main window; found, the
    // connection's own settings take the rate and are saved; not found or
    // cancelled, the not-found line goes to the terminal window. The pause is
    // the script's own 1-second wait (empty: a plain pumping wait).
    bool DetectInstrumentForScript(const std::function<void()>& pause) override;
    // The "Auto Detect ADCP..." button: searches over the page; true when
    // found (the connection's own settings then hold the rate, saved).
    bool DetectInstrumentForPage(QWidget* page);

signals:
    void TitleChanged(const QString& title);

private:
    void ApplySlotIndexRule();
    bool ShowConnectWizard();
    void EchoKey(char ch);
    void CaptureHistory(char ch);
    // The typed-command watchers (baud change, recorder, pinging, loop
    // recorder) take each typed character here.
    void WatchTypedCharacter(char ch);
    void SetPortTitle(int comNumber);
    void OnLogWriteFailed();
    void DeleteWhenIdle();
    void BuildCommandTable();
    void OnUpdatePaneTitle(CCmdUI& ui) const;
    void OnUpdatePaneStatus(CCmdUI& ui) const;
    void OnUpdatePaneLog(CCmdUI& ui) const;
    void OnUpdatePaneHex(CCmdUI& ui) const;
    void OnUpdatePaneScript(CCmdUI& ui) const;

    QPointer<CParlimVW> m_pView;
    std::string m_strTitle;
    std::string m_strLogPath;
    int m_nPortIndex = 0;
    CommandTable m_commands;
    int m_nBusy = 0;
    int m_nListedComPort = 0; // this window's port in "Order", 0 before it first opened one
    bool m_bClosePending = false;
    // Instrument detection: a rate found becomes the connection's own, saved.
    void TakeDetectedBaud(std::int32_t baudCode);
};
