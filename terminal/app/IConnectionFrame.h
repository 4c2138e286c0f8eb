#pragma once
// What a connection's window and its view ask of the main window: commands
// routed through that connection's chain, at once, queued or queried, and the
// frame's own commands. The main window implements it.
#include "CCmdUI.h"

class CParlimDoc;

class IConnectionFrame {
public:
    virtual CCmdUI QueryFor(const CParlimDoc* document, int id) const = 0;
    virtual bool DispatchTo(CParlimDoc* document, int id) = 0;
    virtual void PostCommand(CParlimDoc* document, int id) = 0;
    virtual bool DispatchCommand(int id) = 0;

protected:
    ~IConnectionFrame() = default;
};
