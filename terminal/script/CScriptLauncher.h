#pragma once
#include <string>

class CScript;
class IScriptLaunchConnection;
struct ScriptRunState;

// Starts, stops and repeats the script runs of one connection: script files
// chosen by the user or handed over by a second start, and one-line runs of
// the command history. Runs never nest: a start that comes while a stopped
// run is still unwinding waits until that run has returned, and one that
// comes while a recovery or an instrument detection holds the line waits
// until the line is free.
class CScriptLauncher {
public:
    static constexpr const char* kCouldNotOpen = "Could Not Open %s";
    static constexpr const char* kCouldNotOpenScriptFile = "Could Not Open Script File: %s";
    // A handed-over script that waited for the line and can no longer run.
    static constexpr const char* kHandOverLineLost = "The script %s was not run: the connection lost its line.";
    static constexpr const char* kHandOverWindowClosed = "The script %s was not run: its connection window was closed.";
    static constexpr const char* kHandOverProgramClosing = "The script %s was not run: Parlim is closing.";
    // A handed-over script this connection did not take.
    static constexpr const char* kHandOverDisconnected =
        "The script %s was not run: the active connection is not connected.";
    static constexpr const char* kHandOverAnotherWaiting = "The script %s was not run: the script %s is waiting to run.";

    explicit CScriptLauncher(IScriptLaunchConnection& connection);

    // The script named on the command line, run once the connection is made.
    void RunStartScript(const std::string& path);
    void SendScript();
    void RunScript();
    void CommandHistory();
    // A script handed over by a second start: empty when taken, and it runs
    // now or once the current run has ended and the line is free; otherwise
    // why it was not taken (nothing kept). One handed-over script waits at
    // most: a later one is refused rather than put in its place.
    std::string TakeUpHandOver(const std::string& path);
    // Tells the user why a handed-over script was not taken, once no box
    // can hold up what a waiting script waits for.
    static void TellRefusal(const std::string& refusal);
    // A run has returned, or the recovery or detection that held the line
    // has ended: a start that waited for it, or a handed-over script, goes next.
    void RunEnded();

private:
    bool TakeHandOver();
    static void TellUntoldRefusals();
    // Why a handed-over script can no longer run here; null when it can.
    const char* HandOverHindrance() const;
    void StopRunning();
    void ChooseAndRun();
    // True when a run is still unwinding or the line is held: the command is
    // posted again once the run has returned or the line is free.
    bool DeferWhileBusy(int commandId);
    // Runs the document's script line list.
    int Run(CScript& script);
    void AfterRun(int result);
    // The run is over; the script stays on only for a run still to come.
    void EndRun();
    void Post(int commandId);
    // Posts a run of the script path to this connection.
    void PostRun();

    IScriptLaunchConnection& m_connection;
    ScriptRunState& m_runs;
};
