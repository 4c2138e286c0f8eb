#pragma once
#include "ILineConnection.h"

#include <functional>
#include <string>

// Follows the commands the user types by hand that change the line or the
// instrument: CB (serial settings), RY (recorder download), CS (pinging) and
// MY (loop-recorder download). Each takes the characters after they were
// sent; its buffer in the connection holds the command typed so far.
class CTypedCommandWatchers {
public:
    // Runs a recovery command synchronously for this connection.
    using CommandSender = std::function<void(int commandId)>;

    CTypedCommandWatchers(ILineConnection& connection, CommandSender sendCommand);

    // All four, in the order CB, RY, CS, MY; none on device type 2, whose
    // commands are single letters.
    void Watch(char ch);

private:
    void WatchBaudCommand(char ch);
    void WatchRecorderCommand(char ch);
    void WatchPingCommand(char ch);
    void WatchLoopRecorderCommand(char ch);
    // Applies and saves the settings a complete CBxyz command asks for;
    // false when it asks for no change.
    bool ApplyBaudCommand(const std::string& command);
    bool HasLoopRecorder() const;

    ILineConnection& m_connection;
    CommandSender m_sendCommand;
};
