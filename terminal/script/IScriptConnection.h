#pragma once
// What a script run needs of the connection it plays to: its script lines and
// line settings, its run flag, its terminal text, its log file and the frame's
// commands, besides the line itself. The connection document implements it,
// so the run itself holds no window and no application object.
#include "ILineConnection.h"

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>

class CBaseFile;
class IReceivedBatchSink;

class IScriptConnection : public virtual ILineConnection {
public:
    virtual std::list<std::string>& GetScriptLines() = 0;
    // False once the user stopped the run or the window closed.
    virtual bool IsScriptRunning() const = 0;

    // A rate change typed in the history also sends "CK" when the options ask for it.
    virtual bool ChecksAfterRateChange() const = 0;
    // Seconds a plain line waits for the prompt; 0 or less: no wait.
    virtual int PromptWaitSeconds() const = 0;
    // The script's detect command; the pause is the run's own 1-second wait.
    virtual bool DetectInstrumentForScript(const std::function<void()>& pause) = 0;

    // Where the port delivers received bytes (the terminal window), or null.
    virtual IReceivedBatchSink* ReceivedBytesSink() const = 0;
    virtual void ShowText(std::string_view text) = 0;
    virtual void SetHexView(bool hex) = 0;

    virtual CBaseFile& LogFile() = 0;
    virtual bool IsLogging() const = 0;
    virtual void StartStopLogging() = 0;
    virtual void SetLogging(bool on) = 0;
    virtual std::string GetLogPath() const = 0;
    virtual void SetLogPath(const std::string& path) = 0;

    // Queued to the main window for this connection, or (forConnection
    // false) for the application, such as the exit command.
    virtual void PostFrameCommand(int commandId, bool forConnection) = 0;

protected:
    ~IScriptConnection() = default;
};
