#pragma once
// What a connection needs of the application that holds it: the shared
// settings, the main window's services (dialog parent, posted and routed
// commands, blink phase, break picture), the settings dialogs, the list of
// ports to reopen at the next start and the script named at start-up. The
// application implements it, so no connection reaches the application object.
#include <string>

class CParlimDoc;
class QWidget;
struct CTerminalSettings;

class IConnectionHost {
public:
    virtual CTerminalSettings& Settings() = 0;
    // The window dialogs open over; null before the main window exists.
    virtual QWidget* MainWindow() const = 0;
    // The program is ending: closing connections leave the reopen list alone.
    virtual bool IsExiting() const = 0;
    // No user to answer (headless run): dialogs that need one end as cancelled.
    virtual bool IsUnattended() const = 0;

    // Connections made so far (the slot a new one takes), up to the slot count.
    virtual int ConnectionCount() const = 0;
    virtual void CountConnection() = 0;
    // The script named on the command line, handed to the first connection made.
    virtual std::string TakeStartScript() = 0;
    virtual void UpdateOpenPortOrder(int comNumber, bool add) = 0;

    // Queued to the main window for that connection (null: the application).
    virtual void PostCommand(CParlimDoc* document, int commandId) = 0;
    // At once, through that connection's command chain.
    virtual void DispatchCommand(CParlimDoc& document, int commandId) = 0;
    // The status panes of running things blink; false in the dark phase.
    virtual bool BlinkPhase() const = 0;
    // The toolbar's break button shows the break the options select.
    virtual void UpdateBreakPicture() = 0;

    // The settings dialogs of a connection; the wizard answers true when finished.
    virtual bool RunConnectWizard(CParlimDoc& document) = 0;
    virtual void EditConnectionProperties(CParlimDoc& document) = 0;
    virtual void EditOptions() = 0;

protected:
    ~IConnectionHost() = default;
};
