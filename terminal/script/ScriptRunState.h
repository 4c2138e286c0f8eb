#pragma once
// Where the script runs of one connection stand. Runs never nest: a start
// that comes while a stopped run is still unwinding waits until it returns.
#include <string>

struct ScriptRunState {
    // The script file the next run plays.
    std::string m_strScriptPath;
    // On while a script (or a history line) runs; a stop turns it off.
    bool m_bScriptRunning = false;
    bool m_bHistoryRunning = false;
    // Runs under way; a stopped one may still be unwinding.
    int m_nScriptRunsActive = 0;
    // A start that came while a stopped run was unwinding, posted once it has returned.
    int m_nDeferredScriptCommand = 0;
    // A posted run-script command is still wanted; a stop cancels it.
    bool m_bRunScriptPending = false;
    // The connection's window has closed; the connection goes once its waits return.
    bool m_bConnectionClosing = false;
};
