#pragma once
// What the main window needs of the application that owns it: the
// application's own commands at the end of every chain, the host its
// connections get, and word that the program is ending.
class CommandTable;
class IConnectionHost;

class IMainFrameOwner {
public:
    virtual const CommandTable& Commands() const = 0;
    virtual IConnectionHost& ConnectionHost() = 0;
    // The main window closes: the program ends, and busy waits end with it.
    virtual void OnMainWindowClosing() = 0;

protected:
    ~IMainFrameOwner() = default;
};
