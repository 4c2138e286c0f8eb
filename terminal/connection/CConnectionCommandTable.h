#pragma once

class IConnectionCommands;
class CommandTable;
struct CCmdUI;

// Every command of a connection with its update rule: what the menus, keys,
// toolbar buttons and posted commands of a connection window reach. While a
// recovery or a detection holds the line, the rules refuse every command that
// would write to it or start another hold (Properties leads to detection).
class CConnectionCommandTable {
public:
    static void Register(IConnectionCommands& connection, CommandTable& table);

    static void OnUpdateNoScript(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateProperties(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateConnect(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateConnectedNoScript(const IConnectionCommands& connection, CCmdUI& ui);
    // Connected, no script, and the line not held.
    static void OnUpdateLineFree(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateLogToFile(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateSendScript(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateHexAscii(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateSendBreak(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateSendBinaryCommand(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateRecoverRecorder(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateRecoverLoopRecorder(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdateViewLogFile(const IConnectionCommands& connection, CCmdUI& ui);
    static void OnUpdatePaste(const IConnectionCommands& connection, CCmdUI& ui);
};
