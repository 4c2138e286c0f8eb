#include "CScriptLauncher.h"

#include "CCmdHistDG.h"
#include "CScListDG.h"
#include "CScript.h"
#include "CSerialPort.h"
#include "IScriptLaunchConnection.h"
#include "ScriptRunState.h"
#include "Format.h"
#include "MessagePump.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

#include <QString>
#include <QTimer>

#include <utility>
#include <vector>

using namespace parlim;

namespace {

std::string HandedOverPath()
{
    return platform::GetProfileString(kSectionSettings, kValueOutsideScriptPath);
}

// Refusals of second starts that came while a handed-over script waited.
std::vector<std::string>& UntoldRefusals()
{
    static std::vector<std::string> refusals;
    return refusals;
}

bool SameWithoutCase(const std::string& first, const std::string& second)
{
    return QString::fromStdString(first).compare(QString::fromStdString(second), Qt::CaseInsensitive) == 0;
}

// Counts the runs under way in a connection while one unwinds after a stop.
class ActiveRun {
public:
    explicit ActiveRun(ScriptRunState& runs) : m_runs(runs) { ++m_runs.m_nScriptRunsActive; }
    ~ActiveRun() { --m_runs.m_nScriptRunsActive; }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    ScriptRunState& m_runs;
};

} // namespace

CScriptLauncher::CScriptLauncher(IScriptLaunchConnection& connection)
    : m_connection(connection), m_runs(connection.ScriptRuns())
{
}

void CScriptLauncher::Post(int commandId)
{
    m_connection.PostFrameCommand(commandId, true);
}

bool CScriptLauncher::DeferWhileBusy(int commandId)
{
    if (m_runs.m_nScriptRunsActive == 0 && !m_connection.Port().IsHeld())
        return false;
    m_runs.m_nDeferredScriptCommand = commandId;
    return true;
}

void CScriptLauncher::SendScript()
{
    if (TakeHandOver())
        return;
    if (m_runs.m_bScriptRunning)
        StopRunning();
    else if (!DeferWhileBusy(ID_FILE_SEND_SCRIPT))
        ChooseAndRun();
}

std::string CScriptLauncher::TakeUpHandOver(const std::string& path)
{
    const std::string waiting = HandedOverPath();
    if (!waiting.empty())
        return platform::Format(kHandOverAnotherWaiting, path.c_str(), waiting.c_str());
    if (!m_connection.IsConnected())
        return platform::Format(kHandOverDisconnected, path.c_str());
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, path);
    if (!TakeHandOver())
        StopRunning();
    return {};
}

void CScriptLauncher::TellRefusal(const std::string& refusal)
{
    // A box shown while a script waits would stall the recovery or the run
    // it waits for: told once the waiting script has left its wait.
    if (!HandedOverPath().empty()) {
        UntoldRefusals().push_back(refusal);
        return;
    }
    // Later, so the second start has its answer before the box waits for the user.
    QTimer::singleShot(0, [refusal] { platform::ShowMessage(refusal); });
}

void CScriptLauncher::TellUntoldRefusals()
{
    for (const std::string& refusal : std::exchange(UntoldRefusals(), {}))
        platform::ShowMessage(refusal);
}

bool CScriptLauncher::TakeHandOver()
{
    if (m_runs.m_bScriptRunning)
        return false;
    const std::string path = HandedOverPath();
    if (path.empty())
        return false;
    if (const char* hindrance = HandOverHindrance()) {
        platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, "");
        platform::ShowMessage(platform::Format(hindrance, path.c_str()));
        TellUntoldRefusals();
        return true;
    }
    if (DeferWhileBusy(ID_FILE_SEND_SCRIPT))
        return true;
    m_runs.m_bScriptRunning = true;
    m_runs.m_strScriptPath = path;
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, "");
    PostRun();
    TellUntoldRefusals();
    return true;
}

const char* CScriptLauncher::HandOverHindrance() const
{
    if (platform::IsClosing())
        return kHandOverProgramClosing;
    if (m_runs.m_bConnectionClosing)
        return kHandOverWindowClosed;
    if (!m_connection.IsConnected())
        return kHandOverLineLost;
    return nullptr;
}

void CScriptLauncher::StopRunning()
{
    m_runs.m_bScriptRunning = false;
    m_runs.m_bRunScriptPending = false;
    // A run still under way takes the hand-over up itself once it has returned.
    if (m_runs.m_nScriptRunsActive == 0)
        TakeHandOver();
}

void CScriptLauncher::ChooseAndRun()
{
    m_connection.SelectOwnSlot();
    CScListDG chooser(m_connection.Settings(), true, false, m_connection.DialogParent());
    if (chooser.DoModal() != platform::IDOK)
        return;
    const std::string path = chooser.GetSelection();
    m_runs.m_strScriptPath = path;
    const std::shared_ptr<void> hold = m_connection.HoldWhileRunning();
    CScript script(&m_connection);
    if (script.Load(path) != S_OK) {
        m_runs.m_bScriptRunning = false;
        platform::ShowMessage(script.IsValid() ? platform::Format(kCouldNotOpen, path.c_str())
                                               : LoadResString(IDS_NOT_A_SCRIPT_FILE));
        EndRun();
        return;
    }
    platform::WriteProfileString(kSectionSettings, kValueScriptPath, path);
    m_runs.m_bScriptRunning = true;
    AfterRun(Run(script));
}

void CScriptLauncher::RunScript()
{
    // A post made before the run was stopped starts nothing.
    if (!std::exchange(m_runs.m_bRunScriptPending, false) || !m_runs.m_bScriptRunning)
        return;
    if (DeferWhileBusy(ID_RUN_SCRIPT)) {
        m_runs.m_bRunScriptPending = true;
        return;
    }
    const std::shared_ptr<void> hold = m_connection.HoldWhileRunning();
    CScript script(&m_connection);
    if (script.Load(m_runs.m_strScriptPath) != S_OK) {
        m_runs.m_bScriptRunning = false;
        platform::ShowMessage(platform::Format(kCouldNotOpenScriptFile, m_runs.m_strScriptPath.c_str()));
        EndRun();
        return;
    }
    AfterRun(Run(script));
}

int CScriptLauncher::Run(CScript& script)
{
    ActiveRun active(m_runs);
    return script.Run();
}

void CScriptLauncher::AfterRun(int result)
{
    if (result == SCRIPT_REPEAT && m_runs.m_bScriptRunning) {
        PostRun();
        return;
    }
    EndRun();
}

void CScriptLauncher::EndRun()
{
    // A script handed over while a dialog of this run was open is still to run.
    m_runs.m_bScriptRunning = m_runs.m_bRunScriptPending;
    RunEnded();
}

void CScriptLauncher::RunEnded()
{
    if (m_runs.m_nScriptRunsActive > 0)
        return;
    const int deferred = std::exchange(m_runs.m_nDeferredScriptCommand, 0);
    // A script handed over while this one ran: the run was stopped for it,
    // and it goes before any start that waited.
    if (!TakeHandOver() && deferred != 0)
        Post(deferred);
}

void CScriptLauncher::RunStartScript(const std::string& path)
{
    m_runs.m_bScriptRunning = true;
    m_runs.m_strScriptPath = path;
    PostRun();
}

void CScriptLauncher::PostRun()
{
    m_runs.m_bRunScriptPending = true;
    Post(ID_RUN_SCRIPT);
}

void CScriptLauncher::CommandHistory()
{
    if (DeferWhileBusy(ID_TRANSFER_COMMAND_HISTORY))
        return;
    std::list<std::string>& history = m_connection.GetCommandHistory();
    if (m_connection.LineSettings().m_nDeviceType == DeviceType::kGlissom && !m_connection.TypedLine().empty()) {
        history.push_back(m_connection.TypedLine());
        m_connection.TypedLine().clear();
    }
    CCmdHistDG dialog(history, m_connection.DialogParent());
    if (dialog.DoModal() != platform::IDOK)
        return;
    const std::string command = dialog.GetCommand().toStdString();
    if (history.empty() || !SameWithoutCase(history.back(), command))
        history.push_back(command);
    m_connection.GetScriptLines() = {command + "\r\n"};
    const std::shared_ptr<void> hold = m_connection.HoldWhileRunning();
    m_runs.m_bHistoryRunning = true;
    m_runs.m_bScriptRunning = true;
    CScript script(&m_connection);
    Run(script);
    m_runs.m_bHistoryRunning = false;
    EndRun();
}
