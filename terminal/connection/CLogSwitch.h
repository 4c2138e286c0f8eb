#pragma once
#include <string>

class CParlimDoc;

// Starts and stops the log file of one connection.
class CLogSwitch {
public:
    static constexpr const char* kCouldNotOpen = "Could Not Open %s";

    explicit CLogSwitch(CParlimDoc& document);

    // Stops logging, or lets the user choose a file and logs to it.
    void StartStop();

private:
    void Start();
    bool OpenLogFile(const std::string& path);
    // The terminal window writes to the log file exactly while logging is on.
    void HandLogFileToWindow();

    CParlimDoc& m_doc;
};
