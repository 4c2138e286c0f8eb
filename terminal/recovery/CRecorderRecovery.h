#pragma once
#include "CLineHold.h"
#include "ILineConnection.h"

#include <cstdint>
#include <string>

class IRecoveryConnection;

// The recorder and loop-recorder recovery of one connection: the download
// directory, the size dialogue with the instrument, and the download with
// its progress window. It holds the connection's line from start to end.
class CRecorderRecovery {
public:
    explicit CRecorderRecovery(IRecoveryConnection& connection);

    void RecoverRecorder();
    void RecoverLoopRecorder();
    std::int64_t PrepareRecorderDownload();
    std::int64_t QueryLoopRecorderSize();

    // The "Total bytes used =" value of an "RR?" reply; 0 when not named,
    // -1 (not known) when too large to hold.
    static std::int64_t RecorderTotal(const std::string& reply);
    // Bytes used of an "MM" reply: -1 when not named or too large to hold,
    // -2 on "ERR".
    static std::int64_t LoopRecorderSize(const std::string& reply);

private:
    // The size the download will have: -1 (not known) when the user typed
    // the download command, below -1 when the instrument did not answer
    // (the user has been told).
    std::int64_t ExpectedSize(ILineConnection::TypedWatch typed, std::int64_t (CRecorderRecovery::*prepare)());
    std::int64_t PrepareLoopRecorderDownload();
    // Sends the command that starts the transfer after a pause, then lets it settle.
    void StartDownload(const std::string& command, int settleMs);
    bool ChooseDirectory(std::string& directory);
    // After the user typed the download command, the instrument's sender
    // waits for this receiver and answers nothing else: a Cancel ends it.
    void EndTypedSender(ILineConnection::TypedWatch typed);
    bool AwaitPromptAfterBreak();
    bool Ask(const char* command, std::string& reply);
    void SendCommand(const std::string& command);
    void Download(const std::string& directory, std::int64_t expected);

    IRecoveryConnection& m_connection;
    CLineHold m_hold;
};
