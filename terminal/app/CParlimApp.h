#pragma once
#include "CCmdLineInfo.h"
#include "CPortSettings.h"
#include "CScriptHandOver.h"
#include "CommandTable.h"

#include <memory>
#include <string>
#include <vector>

class CParlimMF;

// The terminal's application object: the twelve connection slots, the four
// options, their storage, the ports to reopen at start, the script file type
// and the hand-over of a command-line script to a running instance.
class CParlimApp {
public:
    static constexpr const char* kHandOverWithoutWindow = "The script %s was not run: no connection window is open.";
    static constexpr const char* kHandOverDisconnected =
        "The script %s was not run: the active connection is not connected.";

    CParlimApp();
    virtual ~CParlimApp();
    CParlimApp(const CParlimApp&) = delete;
    CParlimApp& operator=(const CParlimApp&) = delete;

    // The one application object of the process.
    static CParlimApp* Instance();

    // Start-up; false ends the program with ExitCode().
    bool InitInstance(const std::vector<std::string>& parameters);
    void ExitInstance();
    int ExitCode() const { return m_nExitCode; }

    void OnAppExit();
    void OnAppAbout();
    void OnFileNew();

    void InitPortSettings();
    void LoadPortSettings();
    void SavePortSettings();
    int RestoreOpenPorts(const std::string& order);
    void UpdateOpenPortOrder(int comNumber, bool add);
    void RegisterScriptFileType();

    bool GetScriptErrorCheck() const { return m_PortSettings[m_nCurPort].m_bScriptErrorCheck != 0; }
    bool GetOverwriteLog() const { return m_PortSettings[m_nCurPort].m_bOverwriteLog != 0; }
    void SetOverwriteLog(bool on) { m_PortSettings[m_nCurPort].m_bOverwriteLog = on; }
    CPortSettings& CurrentSlot() { return m_PortSettings[m_nCurPort]; }

    CParlimMF* MainFrame() const { return m_pMainWnd.get(); }
    const CommandTable& Commands() const { return m_commands; }

    parlim::CCmdLineInfo m_cmdInfo;
    PortTable m_PortSettings;
    PortTable m_SavedPortSettings{};
    bool m_bSendCK = true;
    bool m_bSoftwareBreak = false;
    bool m_bEcho = false;
    int m_nPromptWait = 5;
    int m_nConnections = 0;
    int m_nCurPort = 0;
    bool m_bExiting = false;
    // No user to answer (headless run): dialogs that need one end as cancelled.
    bool m_bUnattended = false;

private:
    CScriptHandOver::Outcome HandOverScript();
    // The running instance's side: true when the active connection will run
    // the script; otherwise the user is told why and the path is forgotten.
    bool AcceptHandedOverScript(const std::string& path);
    void BuildCommandTable();

    CommandTable m_commands;
    std::unique_ptr<CParlimMF> m_pMainWnd;
    std::unique_ptr<CScriptHandOver> m_handOver;
    bool m_bSettingsLoaded = false;
    int m_nExitCode = 0;
};
