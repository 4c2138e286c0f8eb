#pragma once
// What the menus, keys, toolbar buttons and posted commands of a connection
// window reach, and the state their update rules read. The connection
// document implements it; CConnectionCommandTable binds the ids to it.
#include <cstdint>

class IConnectionCommands {
public:
    virtual void OnSendBreak() = 0;
    virtual void OnPcTimeToAdcp() = 0;
    virtual void OnSendBinaryCommand() = 0;
    virtual void OnSendBytes() = 0;
    virtual void OnPaste() = 0;
    virtual void OnConnect() = 0;
    virtual void OnDisconnect() = 0;
    virtual void OnProperties() = 0;
    virtual void OnOptions() = 0;
    virtual void OnClearWindow() = 0;
    virtual void OnHexAscii() = 0;
    virtual void OnHelpContents() = 0;
    virtual void OnSendScript() = 0;
    virtual void OnRunScript() = 0;
    virtual void OnCommandHistory() = 0;
    virtual void OnLogToFile() = 0;
    virtual void OnEditScript() = 0;
    virtual void OnViewLogFile() = 0;
    virtual void OnRecoverRecorder() = 0;
    virtual void OnRecoverLoopRecorder() = 0;

    virtual bool IsConnected() const = 0;
    virtual bool IsScriptRunning() const = 0;
    // A recovery or an instrument detection holds the line.
    virtual bool IsLineHeld() const = 0;
    virtual bool IsLogging() const = 0;
    virtual bool IsHexView() const = 0;
    virtual std::int32_t GetDeviceType() const = 0;
    // The toolbar's break button shows the break the options select.
    virtual void UpdateBreakPicture() const = 0;

protected:
    ~IConnectionCommands() = default;
};
