#pragma once
#include <string>

class IScriptLaunchConnection;

// Starts and stops the log file of one connection.
class CLogSwitch {
public:
    static constexpr const char* kCouldNotOpen = "Could Not Open %s";

    explicit CLogSwitch(IScriptLaunchConnection& connection);

    // Stops logging, or lets the user choose a file and logs to it.
    void StartStop();

private:
    void Start();

    IScriptLaunchConnection& m_connection;
};
