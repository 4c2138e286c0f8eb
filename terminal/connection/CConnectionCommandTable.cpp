#include "CConnectionCommandTable.h"

#include "CommandTable.h"
#include "IConnectionCommands.h"
#include "Messages.h"
#include "PortConfig.h"
#include "resource.h"

#include <exception>

using namespace parlim;

namespace {

// A handler that fails (out of memory, a thread that cannot start) ends with
// the reason told; the terminal stays up, as no exception may cross the event loop.
CommandTable::Handler Guarded(IConnectionCommands& connection, void (IConnectionCommands::*handler)())
{
    return [&connection, handler] {
        try {
            (connection.*handler)();
        } catch (const std::exception& error) {
            platform::ShowMessage(error.what());
        }
    };
}

CommandTable::UpdateRule Rule(const IConnectionCommands& connection,
                              void (*rule)(const IConnectionCommands&, CCmdUI&))
{
    return [&connection, rule](CCmdUI& ui) { rule(connection, ui); };
}

} // namespace

void CConnectionCommandTable::Register(IConnectionCommands& connection, CommandTable& table)
{
    using T = CConnectionCommandTable;
    table.Add(ID_FILE_PROPERTIES, Guarded(connection, &IConnectionCommands::OnProperties), Rule(connection, &T::OnUpdateProperties));
    table.Add(ID_FILE_CONNECT, Guarded(connection, &IConnectionCommands::OnConnect), Rule(connection, &T::OnUpdateConnect));
    table.Add(ID_FILE_DISCONNECT, Guarded(connection, &IConnectionCommands::OnDisconnect),
              Rule(connection, &T::OnUpdateConnectedNoScript));
    table.Add(ID_FILE_LOG, Guarded(connection, &IConnectionCommands::OnLogToFile), Rule(connection, &T::OnUpdateLogToFile));
    table.Add(ID_FILE_SEND_SCRIPT, Guarded(connection, &IConnectionCommands::OnSendScript), Rule(connection, &T::OnUpdateSendScript));
    table.Add(ID_VIEW_HEX_ASCII, Guarded(connection, &IConnectionCommands::OnHexAscii), Rule(connection, &T::OnUpdateHexAscii));
    table.Add(ID_FILE_SEND_BREAK, Guarded(connection, &IConnectionCommands::OnSendBreak), Rule(connection, &T::OnUpdateSendBreak));
    table.Add(ID_TRANSFER_BINARY_COMMAND, Guarded(connection, &IConnectionCommands::OnSendBinaryCommand),
              Rule(connection, &T::OnUpdateSendBinaryCommand));
    table.Add(ID_FILE_RECOVER_RECORDER, Guarded(connection, &IConnectionCommands::OnRecoverRecorder),
              Rule(connection, &T::OnUpdateRecoverRecorder));
    table.Add(ID_TOOLS_OPTIONS, Guarded(connection, &IConnectionCommands::OnOptions));
    table.Add(ID_FILE_EDIT_SCRIPT, Guarded(connection, &IConnectionCommands::OnEditScript), Rule(connection, &T::OnUpdateNoScript));
    table.Add(ID_TRANSFER_COMMAND_HISTORY, Guarded(connection, &IConnectionCommands::OnCommandHistory),
              Rule(connection, &T::OnUpdateLineFree));
    table.Add(ID_FILE_VIEW_LOG, Guarded(connection, &IConnectionCommands::OnViewLogFile), Rule(connection, &T::OnUpdateViewLogFile));
    table.Add(ID_WINDOW_CLEAR, Guarded(connection, &IConnectionCommands::OnClearWindow));
    table.Add(ID_TRANSFER_PC_TIME, Guarded(connection, &IConnectionCommands::OnPcTimeToAdcp),
              Rule(connection, &T::OnUpdateLineFree));
    table.Add(ID_TRANSFER_HEX_BYTES, Guarded(connection, &IConnectionCommands::OnSendBytes),
              Rule(connection, &T::OnUpdateLineFree));
    table.Add(ID_FILE_RECOVER_LOOP_RECORDER, Guarded(connection, &IConnectionCommands::OnRecoverLoopRecorder),
              Rule(connection, &T::OnUpdateRecoverLoopRecorder));
    table.Add(ID_EDIT_PASTE, Guarded(connection, &IConnectionCommands::OnPaste), Rule(connection, &T::OnUpdatePaste));
    table.Add(ID_HELP, Guarded(connection, &IConnectionCommands::OnHelpContents));
    table.Add(ID_RUN_SCRIPT, Guarded(connection, &IConnectionCommands::OnRunScript));
}

void CConnectionCommandTable::OnUpdateNoScript(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(!connection.IsScriptRunning());
}

void CConnectionCommandTable::OnUpdateProperties(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(!connection.IsScriptRunning() && !connection.IsLineHeld());
}

void CConnectionCommandTable::OnUpdateConnect(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(!connection.IsConnected());
}

void CConnectionCommandTable::OnUpdateConnectedNoScript(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(connection.IsConnected() && !connection.IsScriptRunning());
}

void CConnectionCommandTable::OnUpdateLineFree(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(connection.IsConnected() && !connection.IsScriptRunning() && !connection.IsLineHeld());
}

void CConnectionCommandTable::OnUpdateLogToFile(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.SetText(LoadResString(connection.IsLogging() ? IDS_END_LOGGING : IDS_LOG_TO_FILE));
}

void CConnectionCommandTable::OnUpdateSendScript(const IConnectionCommands& connection, CCmdUI& ui)
{
    if (!connection.IsConnected()) {
        ui.Enable(false);
        return;
    }
    // Stop stays available; a start waits until the line is free.
    ui.Enable(connection.IsScriptRunning() || !connection.IsLineHeld());
    ui.SetText(LoadResString(connection.IsScriptRunning() ? IDS_STOP_SCRIPT : IDS_SEND_SCRIPT));
}

void CConnectionCommandTable::OnUpdateHexAscii(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(true);
    ui.SetCheck(connection.IsHexView());
}

void CConnectionCommandTable::OnUpdateSendBreak(const IConnectionCommands& connection, CCmdUI& ui)
{
    OnUpdateLineFree(connection, ui);
    connection.UpdateBreakPicture();
}

void CConnectionCommandTable::OnUpdateSendBinaryCommand(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(connection.GetDeviceType() == DeviceType::kGlissom && !connection.IsScriptRunning() &&
              !connection.IsLineHeld());
}

void CConnectionCommandTable::OnUpdateRecoverRecorder(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(IsRecorderType(connection.GetDeviceType()) && connection.IsConnected() && !connection.IsLineHeld());
}

void CConnectionCommandTable::OnUpdateRecoverLoopRecorder(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(IsLoopRecorderType(connection.GetDeviceType()) && connection.IsConnected() &&
              !connection.IsLineHeld());
}

void CConnectionCommandTable::OnUpdateViewLogFile(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(!connection.IsLogging());
}

void CConnectionCommandTable::OnUpdatePaste(const IConnectionCommands& connection, CCmdUI& ui)
{
    ui.Enable(!connection.IsLineHeld());
}
