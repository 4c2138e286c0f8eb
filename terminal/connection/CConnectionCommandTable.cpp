#include "CConnectionCommandTable.h"

#include "CParlimDoc.h"
#include "CommandTable.h"
#include "IConnectionHost.h"
#include "Messages.h"
#include "resource.h"

#include <exception>

using namespace parlim;

namespace {

// A handler that fails (out of memory, a thread that cannot start) ends with
// the reason told; the terminal stays up, as no exception may cross the event loop.
CommandTable::Handler Guarded(CParlimDoc& document, void (CParlimDoc::*handler)())
{
    return [&document, handler] {
        try {
            (document.*handler)();
        } catch (const std::exception& error) {
            platform::ShowMessage(error.what());
        }
    };
}

CommandTable::UpdateRule Rule(const CParlimDoc& document, void (*rule)(const CParlimDoc&, CCmdUI&))
{
    return [&document, rule](CCmdUI& ui) { rule(document, ui); };
}

} // namespace

void CConnectionCommandTable::Register(CParlimDoc& doc, CommandTable& table)
{
    using T = CConnectionCommandTable;
    table.Add(ID_FILE_PROPERTIES, Guarded(doc, &CParlimDoc::OnProperties), Rule(doc, &T::OnUpdateNoScript));
    table.Add(ID_FILE_CONNECT, Guarded(doc, &CParlimDoc::OnConnect), Rule(doc, &T::OnUpdateConnect));
    table.Add(ID_FILE_DISCONNECT, Guarded(doc, &CParlimDoc::OnDisconnect),
              Rule(doc, &T::OnUpdateConnectedNoScript));
    table.Add(ID_FILE_LOG, Guarded(doc, &CParlimDoc::OnLogToFile), Rule(doc, &T::OnUpdateLogToFile));
    table.Add(ID_FILE_SEND_SCRIPT, Guarded(doc, &CParlimDoc::OnSendScript), Rule(doc, &T::OnUpdateSendScript));
    table.Add(ID_VIEW_HEX_ASCII, Guarded(doc, &CParlimDoc::OnHexAscii), Rule(doc, &T::OnUpdateHexAscii));
    table.Add(ID_FILE_SEND_BREAK, Guarded(doc, &CParlimDoc::OnSendBreak), Rule(doc, &T::OnUpdateSendBreak));
    table.Add(ID_TRANSFER_BINARY_COMMAND, Guarded(doc, &CParlimDoc::OnSendBinaryCommand),
              Rule(doc, &T::OnUpdateSendBinaryCommand));
    table.Add(ID_FILE_RECOVER_RECORDER, Guarded(doc, &CParlimDoc::OnRecoverRecorder),
              Rule(doc, &T::OnUpdateRecoverRecorder));
    table.Add(ID_TOOLS_OPTIONS, Guarded(doc, &CParlimDoc::OnOptions));
    table.Add(ID_FILE_EDIT_SCRIPT, Guarded(doc, &CParlimDoc::OnEditScript), Rule(doc, &T::OnUpdateNoScript));
    table.Add(ID_TRANSFER_COMMAND_HISTORY, Guarded(doc, &CParlimDoc::OnCommandHistory),
              Rule(doc, &T::OnUpdateConnectedNoScript));
    table.Add(ID_FILE_VIEW_LOG, Guarded(doc, &CParlimDoc::OnViewLogFile), Rule(doc, &T::OnUpdateViewLogFile));
    table.Add(ID_WINDOW_CLEAR, Guarded(doc, &CParlimDoc::OnClearWindow));
    table.Add(ID_TRANSFER_PC_TIME, Guarded(doc, &CParlimDoc::OnPcTimeToAdcp),
              Rule(doc, &T::OnUpdateConnectedNoScript));
    table.Add(ID_TRANSFER_HEX_BYTES, Guarded(doc, &CParlimDoc::OnSendBytes),
              Rule(doc, &T::OnUpdateConnectedNoScript));
    table.Add(ID_FILE_RECOVER_LOOP_RECORDER, Guarded(doc, &CParlimDoc::OnRecoverLoopRecorder),
              Rule(doc, &T::OnUpdateRecoverLoopRecorder));
    table.Add(ID_EDIT_PASTE, Guarded(doc, &CParlimDoc::OnPaste));
    table.Add(ID_HELP, Guarded(doc, &CParlimDoc::OnHelpContents));
    table.Add(ID_RUN_SCRIPT, Guarded(doc, &CParlimDoc::OnRunScript));
}

void CConnectionCommandTable::OnUpdateNoScript(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(!doc.IsScriptRunning());
}

void CConnectionCommandTable::OnUpdateConnect(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(!doc.IsConnected());
}

void CConnectionCommandTable::OnUpdateConnectedNoScript(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(doc.IsConnected() && !doc.IsScriptRunning());
}

void CConnectionCommandTable::OnUpdateLogToFile(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.SetText(LoadResString(doc.IsLogging() ? IDS_END_LOGGING : IDS_LOG_TO_FILE));
}

void CConnectionCommandTable::OnUpdateSendScript(const CParlimDoc& doc, CCmdUI& ui)
{
    if (!doc.IsConnected()) {
        ui.Enable(false);
        return;
    }
    ui.Enable(true);
    ui.SetText(LoadResString(doc.IsScriptRunning() ? IDS_STOP_SCRIPT : IDS_SEND_SCRIPT));
}

void CConnectionCommandTable::OnUpdateHexAscii(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(true);
    ui.SetCheck(doc.IsHexView());
}

void CConnectionCommandTable::OnUpdateSendBreak(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(doc.IsConnected() && !doc.IsScriptRunning());
    doc.Host().UpdateBreakPicture();
}

void CConnectionCommandTable::OnUpdateSendBinaryCommand(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(doc.GetDeviceType() == CParlimDoc::kGlissom && !doc.IsScriptRunning());
}

void CConnectionCommandTable::OnUpdateRecoverRecorder(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(IsRecorderType(doc.GetDeviceType()) && doc.IsConnected());
}

void CConnectionCommandTable::OnUpdateRecoverLoopRecorder(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(IsLoopRecorderType(doc.GetDeviceType()) && doc.IsConnected());
}

void CConnectionCommandTable::OnUpdateViewLogFile(const CParlimDoc& doc, CCmdUI& ui)
{
    ui.Enable(!doc.IsLogging());
}
