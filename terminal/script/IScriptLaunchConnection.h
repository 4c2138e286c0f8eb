#pragma once
// What the script launcher needs of its connection besides what a run needs:
// where its runs stand, its own settings slot, the line being typed and the
// command history, and the window its dialogs open over. The connection
// document implements it.
#include "IScriptConnection.h"

#include <list>
#include <string>

class QWidget;
struct CTerminalSettings;
struct ScriptRunState;

class IScriptLaunchConnection : public IScriptConnection {
public:
    virtual ScriptRunState& ScriptRuns() = 0;
    virtual CTerminalSettings& Settings() = 0;
    // The settings slot the commands work on becomes this connection's own.
    virtual void SelectOwnSlot() = 0;
    virtual std::list<std::string>& GetCommandHistory() = 0;
    virtual std::string& TypedLine() = 0;
    // The window dialogs open over; null when there is none.
    virtual QWidget* DialogParent() const = 0;

protected:
    ~IScriptLaunchConnection() = default;
};
