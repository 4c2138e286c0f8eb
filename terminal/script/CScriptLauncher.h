#pragma once
#include <string>

class CScript;
class IScriptLaunchConnection;
struct ScriptRunState;

// Starts, stops and repeats the script runs of one connection: script files
// chosen by the user or handed over by a second start, and one-line runs of
// the command history. Runs never nest: a start that comes while a stopped
// run is still unwinding waits until that run has returned.
class CScriptLauncher {
public:
    static constexpr const char* kCouldNotOpen = "Could Not Open %s";
    static constexpr const char* kCouldNotOpenScriptFile = "Could Not Open Script File: %s";

    explicit CScriptLauncher(IScriptLaunchConnection& connection);

    // The script named on the command line, run once the connection is made.
    void RunStartScript(const std::string& path);
    void SendScript();
    void RunScript();
    void CommandHistory();
    // A script handed over by a second start: false (nothing kept) when this
    // connection cannot run it; otherwise it runs now, or once the current
    // run has ended.
    bool TakeUpHandOver(const std::string& path);

private:
    bool TakeHandOver();
    void StopRunning();
    void ChooseAndRun();
    // True when a run is still unwinding: the command is posted again once it has returned.
    bool DeferWhileUnwinding(int commandId);
    // Runs the document's script line list.
    int Run(CScript& script);
    void AfterRun(int result);
    // The run is over; the script stays on only for a run still to come.
    void EndRun();
    // A run has returned: a start that waited for it, or a handed-over script, goes next.
    void RunEnded();
    void Post(int commandId);
    // Posts a run of the script path to this connection.
    void PostRun();

    IScriptLaunchConnection& m_connection;
    ScriptRunState& m_runs;
};
