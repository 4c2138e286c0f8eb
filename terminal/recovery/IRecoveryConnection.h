#pragma once
// What the recorder recovery needs of its connection besides the line: the
// reply text the terminal window collected, and the window its dialogs open
// over. The connection document implements it.
#include "ILineConnection.h"

#include <string>

class CYModem;
class QWidget;

class IRecoveryConnection : public virtual ILineConnection {
public:
    // What the terminal window received since it was last cleared.
    virtual std::string ReceivedText() const = 0;
    virtual void ClearReceivedText() = 0;
    // The window the recovery dialogs open over; null when there is none.
    virtual QWidget* DialogParent() const = 0;
    // The transfer under way on the line, null when none.
    virtual void SetRunningTransfer(CYModem* transfer) = 0;

protected:
    ~IRecoveryConnection() = default;
};
