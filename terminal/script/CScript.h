#pragma once
#include "HResult.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

class CSerialPort;
class IScriptConnection;

// Results of a run, of one line and of every script command.
enum : int {
    SCRIPT_ERROR = 0,    // stop: a command failed or the user stopped the run
    SCRIPT_CONTINUE = 1, // go on with the next line; also a run that reached its end
    SCRIPT_SENT = 2,     // a plain line went out: the run loop waits for the prompt
    SCRIPT_REPEAT = 3,   // stop now and run the whole script again
    SCRIPT_ABORT = -2,   // a wait saw the application closing or the run stopped
};

// The bytes appended to plain script lines; every run starts with "\r".
extern std::string g_strEol;

// The interpreter of one script run on one connection. Plays the connection's
// script line list to the instrument on the user-interface thread; every wait
// dispatches events, so the terminal stays live and the run can be stopped
// through the connection's run flag. One object serves one run.
class CScript {
public:
    static constexpr std::size_t kMaxLineLength = 2000;

    // Neither is owned; the port is the connection's own.
    explicit CScript(IScriptConnection* connection);
    ~CScript();
    CScript(const CScript&) = delete;
    CScript& operator=(const CScript&) = delete;

    // Loads the file into the connection's script line list: S_OK; E_FAIL
    // when the file cannot be opened or a line is too long (then IsValid()
    // is false); the error of a failed read.
    HRESULT Load(const std::string& path);
    // Plays the connection's script line list: SCRIPT_ERROR, SCRIPT_CONTINUE
    // or SCRIPT_REPEAT. The connection stays alive until it returns.
    int Run();
    // Carries out one line (a command, or a plain line that is sent).
    int ExecuteLine(const std::string& line);
    // True for a command line: m_strLine and m_chCommand are then set.
    bool ParseCommand(const std::string& line);

    // False after Load met a line longer than kMaxLineLength.
    bool IsValid() const { return m_bValid; }

    // Dispatches waiting events: 1, or PUMP_QUIT when the application is
    // closing or the run has been stopped.
    int PumpMessages();
    // 1 when the time has passed, PUMP_QUIT as soon as the pump says so.
    int Wait(int seconds, int milliseconds);
    // Writes the bytes; device type 2 gets one byte per 20 ms.
    void SendBytes(std::string_view bytes);

    // The instrument clock command for that local time and device type.
    static std::string ClockCommand(const std::tm& local, int deviceType);

private:
    int OnAsciiDisplay();
    int OnBreak();
    int OnComSettings();
    int OnDelay();
    int OnFindInstrument();
    int OnLog();
    int OnSendChecksum();
    int OnPrint();
    int OnRepeat();
    int OnHexDisplay();
    int OnNoOp();
    int OnSendHex();
    int OnSetClock();
    int OnSendText();
    int OnWait();
    int OnExit();
    int OnSetEol();

    IScriptConnection* m_pConnection;
    CSerialPort* m_pPort;
    // The current command from its '$' to the end of its line, line end included.
    std::string m_strLine;
    char m_chCommand = 0;
    bool m_bPrinted = false;
    bool m_bValid = true;
    bool m_bPromptSeen = false;

    int DispatchCommand();
    int SendPlainLine(std::string line);
    void FollowBaudChange(const std::string& sent);
    void WaitForPromptAfterSend();
    // The command's argument: m_strLine without "$x" and without its line end.
    std::string Argument() const;
};
