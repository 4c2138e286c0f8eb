#pragma once
#include "CCmdLineInfo.h"
#include "CScriptHandOver.h"
#include "CTerminalSettings.h"
#include "CommandTable.h"
#include "IConnectionHost.h"
#include "IMainFrameOwner.h"

#include <memory>
#include <string>
#include <vector>

class CParlimMF;

// The terminal's application object: the shared settings and their storage,
// the ports to reopen at start, the script file type, the hand-over of a
// command-line script to a running instance, and the host of every connection.
class CParlimApp : public IConnectionHost, public IMainFrameOwner {
public:
    static constexpr const char* kHandOverWithoutWindow = "The script %s was not run: no connection window is open.";

    CParlimApp();
    virtual ~CParlimApp();
    CParlimApp(const CParlimApp&) = delete;
    CParlimApp& operator=(const CParlimApp&) = delete;

    // Start-up; false ends the program with ExitCode().
    bool InitInstance(const std::vector<std::string>& parameters);
    void ExitInstance();
    int ExitCode() const { return m_nExitCode; }

    void OnAppExit();
    // SIGTERM, SIGHUP or SIGINT: the program ends as File > Exit ends it.
    void OnQuitSignal();
    void OnAppAbout();
    void OnFileNew();

    void LoadPortSettings();
    void SavePortSettings();
    int RestoreOpenPorts(const std::string& order);
    void UpdateOpenPortOrder(int comNumber, bool add) override;
    void RegisterScriptFileType();

    CParlimMF* MainFrame() const { return m_pMainWnd.get(); }
    const CommandTable& Commands() const override { return m_commands; }
    IConnectionHost& ConnectionHost() override { return *this; }
    void OnMainWindowClosing() override { m_bExiting = true; }

    // What the connections reach of the application.
    CTerminalSettings& Settings() override { return m_settings; }
    QWidget* MainWindow() const override;
    bool IsExiting() const override { return m_bExiting; }
    bool IsUnattended() const override { return m_bUnattended; }
    int ConnectionCount() const override { return m_nConnections; }
    void CountConnection() override;
    std::string TakeStartScript() override;
    void PostCommand(CParlimDoc* document, int commandId) override;
    void DispatchCommand(CParlimDoc& document, int commandId) override;
    bool BlinkPhase() const override;
    void UpdateBreakPicture() override;
    bool RunConnectWizard(CParlimDoc& document) override;
    void EditConnectionProperties(CParlimDoc& document) override;
    void EditOptions() override;

    parlim::CCmdLineInfo m_cmdInfo;
    PortTable m_SavedPortSettings{};
    int m_nConnections = 0;
    bool m_bExiting = false;
    // No user to answer (headless run): dialogs that need one end as cancelled.
    bool m_bUnattended = false;
    // Offscreen only because no display could be opened: a start that is no
    // hand-over has nothing to show its window on.
    bool m_bDisplayMissing = false;

private:
    CScriptHandOver::Outcome HandOverScript();
    // The running instance's side: true when the active connection will run
    // the script; otherwise the user is told why and the path is forgotten.
    bool AcceptHandedOverScript(const std::string& path);
    void BuildCommandTable();

    CTerminalSettings m_settings;
    CommandTable m_commands;
    std::unique_ptr<CParlimMF> m_pMainWnd;
    std::unique_ptr<CScriptHandOver> m_handOver;
    bool m_bSettingsLoaded = false;
    int m_nExitCode = 0;
};
