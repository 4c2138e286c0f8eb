#pragma once

class CParlimDoc;
class CommandTable;
struct CCmdUI;

// Every command of a connection with its update rule: what the menus, keys,
// toolbar buttons and posted commands of a connection window reach.
class CConnectionCommandTable {
public:
    static void Register(CParlimDoc& document, CommandTable& table);

    static void OnUpdateNoScript(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateConnect(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateConnectedNoScript(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateLogToFile(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateSendScript(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateHexAscii(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateSendBreak(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateSendBinaryCommand(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateRecoverRecorder(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateRecoverLoopRecorder(const CParlimDoc& document, CCmdUI& ui);
    static void OnUpdateViewLogFile(const CParlimDoc& document, CCmdUI& ui);
};
