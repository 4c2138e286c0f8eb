#pragma once
#include <string>

class CParlimDoc;

// Starts, stops and repeats the script runs of one connection: script files
// chosen by the user or handed over by a second start, and one-line runs of
// the command history.
class CScriptLauncher {
public:
    static constexpr const char* kCouldNotOpen = "Could Not Open %s";
    static constexpr const char* kCouldNotOpenScriptFile = "Could Not Open Script File: %s";

    explicit CScriptLauncher(CParlimDoc& document);

    void SendScript();
    void RunScript();
    void CommandHistory();

private:
    bool TakeHandOver();
    void StopRunning();
    void ChooseAndRun();
    // Runs the loaded script; true when it asks to run again.
    bool Run();
    void AfterRun(int result);
    void Post(int commandId);

    CParlimDoc& m_doc;
};
