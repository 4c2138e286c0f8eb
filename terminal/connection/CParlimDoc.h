#pragma once
#include "CBaseFile.h"
#include "CSerialPort.h"
#include "CommandTable.h"
#include "IConnectionCommands.h"
#include "IRecoveryConnection.h"
#include "IScriptLaunchConnection.h"
#include "ScriptRunState.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <list>
#include <string>

class CLogWnd;
class IConnectionHost;
class QWidget;
struct CCmdUI;

// One serial connection: its settings copy, its port, its log file, the
// command being typed and the command history. Lives as long as its window;
// its deletion waits for any wait running inside it. The application that
// holds it is reached through IConnectionHost.
class CParlimDoc : public QObject,
                   public IScriptLaunchConnection,
                   public IRecoveryConnection,
                   public IConnectionCommands {
    Q_OBJECT
public:
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

    explicit CParlimDoc(IConnectionHost& host, QObject* parent = nullptr);
    ~CParlimDoc() override;

    bool OnNewDocument();
    void LoadPortConfig();
    void SavePortConfig() override;
    bool OpenPort(bool report);
    void Connect();
    void ApplyPortSettings() override;
    // The settings pane: "Disconnected", "Line busy" while a recovery or a
    // detection holds the line, else the line's settings ("9600, N, 8, 1").
    std::string GetStatusText() const;
    bool IsConnected() const override { return m_serial.IsOpen(); }
    void ClosePort();
    void SendBreak() override;
    bool WaitForPrompt(std::string& reply, std::uint16_t seconds) override;
    void SetLogging(bool on) override;
    std::string GetLogPath() const override { return m_strLogPath; }
    void SetLogPath(const std::string& path) override { m_strLogPath = path; }
    CLogWnd* GetLogWnd() const;
    // The terminal window of this connection's view, which shows what it receives.
    void SetLogWnd(CLogWnd* window);
    std::list<std::string>& GetScriptLines() override { return m_scriptLines; }
    std::list<std::string>& GetCommandHistory() override { return m_history; }
    void SendKey(char ch);

    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);
    const CommandTable& Commands() const { return m_commands; }
    bool IsHexView() const override { return m_bHexView; }
    std::int32_t GetDeviceType() const override { return m_portConfig.m_nDeviceType; }
    void UpdateBreakPicture() const override;
    bool IsPinging() const { return m_bPinging; }

    // What scripts, watchers and detection reach through their interfaces.
    std::shared_ptr<void> HoldWhileRunning() override;
    CSerialPort& Port() override { return m_serial; }
    bool SendsCheckAfterRateChange() const override;
    bool UsesSoftwareBreak() const override;
    std::string& TypedSoFar(TypedWatch watch) override;
    void SetPinging(bool pinging) override { m_bPinging = pinging; }
    bool IsScriptRunning() const override { return m_runs.m_bScriptRunning; }
    bool IsLineHeld() const override { return m_serial.IsHeld(); }
    // A stop: a running script ends at its next step.
    void StopScript() { m_runs.m_bScriptRunning = false; }
    bool IsHistoryRunning() const { return m_runs.m_bHistoryRunning; }
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
    void SetRunningTransfer(CYModem* transfer) override { m_pTransfer = transfer; }
    ScriptRunState& ScriptRuns() override { return m_runs; }
    CTerminalSettings& Settings() override;
    std::string& TypedLine() override { return m_strTypedLine; }

    // The window closed: a running script is told to stop, and the document
    // goes as soon as no wait runs inside it.
    void CloseDocument();
    // The program ends without its event loop: a transfer under way ends as
    // a close of the program ends it, then the port closes.
    void EndAtOnce();

    // Connection commands and their dialogs; script, history and log commands.
    void OnSendBreak() override;
    void OnPcTimeToAdcp() override;
    void OnSendBinaryCommand() override;
    void OnSendBytes() override;
    void OnPaste() override;
    void OnConnect() override;
    void OnDisconnect() override;
    void OnProperties() override;
    void OnOptions() override;
    void OnClearWindow() override;
    void OnHexAscii() override;
    void OnHelpContents() override;
    void OnSendScript() override;
    void OnRunScript() override;
    void OnCommandHistory() override;
    void OnLogToFile() override;
    // Stops logging, or lets the user choose a log file and starts it.
    void StartStopLogging() override;
    void OnEditScript() override;
    void OnViewLogFile() override;
    // "Order" lists the port this connection uses: the one it opened, or the
    // one its settings were changed to since.
    void ListPortInOrder(int comNumber);
    // The application's current settings slot becomes this connection's own.
    void SelectOwnSlot() override;

    // Recorder and loop-recorder recovery.
    void OnRecoverRecorder() override;
    void OnRecoverLoopRecorder() override;

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
    // A script or log file from its recent list, opened in the text editor.
    void OpenChosenInEditor(bool scriptMode);

    IConnectionHost& m_host;
    QPointer<CLogWnd> m_pLogWnd;
    ScriptRunState m_runs;
    CBaseFile m_logFile;
    PortConfig m_portConfig;
    CSerialPort m_serial;
    bool m_bLogging = false;
    bool m_bHexView = false;
    bool m_bPinging = false;
    std::string m_strTypedLine;
    std::list<std::string> m_scriptLines;
    std::list<std::string> m_history;
    std::string m_strWatchCB;
    std::string m_strWatchRY;
    std::string m_strWatchMY;
    std::string m_strWatchCS;
    std::string m_strTitle;
    std::string m_strLogPath;
    int m_nPortIndex = 0;
    CommandTable m_commands;
    int m_nBusy = 0;
    int m_nListedComPort = 0; // this window's port in "Order", 0 before it first opened one
    bool m_bClosePending = false;
    CYModem* m_pTransfer = nullptr;
    // Instrument detection: a rate found becomes the connection's own, saved.
    void TakeDetectedBaud(std::int32_t baudCode);
};
