#include "CScriptLauncher.h"

#include "CCmdHistDG.h"
#include "CConnectionCommands.h"
#include "CParlimDoc.h"
#include "CScListDG.h"
#include "CScript.h"
#include "Format.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

#include <QString>

#include <utility>

using namespace parlim;

namespace {

std::string HandedOverPath()
{
    return platform::GetProfileString(kSectionSettings, kValueOutsideScriptPath);
}

bool SameWithoutCase(const std::string& first, const std::string& second)
{
    return QString::fromStdString(first).compare(QString::fromStdString(second), Qt::CaseInsensitive) == 0;
}

// Counts the runs under way in a connection while one unwinds after a stop.
class ActiveRun {
public:
    explicit ActiveRun(CParlimDoc& document) : m_doc(document) { ++m_doc.m_nScriptRunsActive; }
    ~ActiveRun() { --m_doc.m_nScriptRunsActive; }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    CParlimDoc& m_doc;
};

} // namespace

CScriptLauncher::CScriptLauncher(CParlimDoc& document) : m_doc(document) {}

void CScriptLauncher::Post(int commandId)
{
    m_doc.PostFrameCommand(commandId, true);
}

bool CScriptLauncher::DeferWhileUnwinding(int commandId)
{
    if (m_doc.m_nScriptRunsActive == 0)
        return false;
    m_doc.m_nDeferredScriptCommand = commandId;
    return true;
}

void CScriptLauncher::SendScript()
{
    if (TakeHandOver())
        return;
    if (m_doc.m_bScriptRunning)
        StopRunning();
    else if (!DeferWhileUnwinding(ID_FILE_SEND_SCRIPT))
        ChooseAndRun();
}

bool CScriptLauncher::TakeUpHandOver(const std::string& path)
{
    if (!m_doc.IsConnected())
        return false;
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, path);
    if (!TakeHandOver())
        StopRunning();
    return true;
}

bool CScriptLauncher::TakeHandOver()
{
    if (m_doc.m_bScriptRunning)
        return false;
    const std::string path = HandedOverPath();
    if (path.empty())
        return false;
    if (DeferWhileUnwinding(ID_FILE_SEND_SCRIPT))
        return true;
    m_doc.m_bScriptRunning = true;
    m_doc.m_strScriptPath = path;
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, "");
    m_doc.PostRunScript();
    return true;
}

void CScriptLauncher::StopRunning()
{
    m_doc.m_bScriptRunning = false;
    m_doc.m_bRunScriptPending = false;
    // A run still under way takes the hand-over up itself once it has returned.
    if (m_doc.m_nScriptRunsActive == 0)
        TakeHandOver();
}

void CScriptLauncher::ChooseAndRun()
{
    m_doc.SelectOwnSlot();
    CScListDG chooser(true, CScListDG::kScriptList, false, kSectionSettings, CConnectionCommands::DialogParent());
    if (chooser.DoModal() != platform::IDOK)
        return;
    const std::string path = chooser.GetSelection();
    m_doc.m_strScriptPath = path;
    CParlimDoc::BusyScope busy(m_doc);
    CScript script(&m_doc, &m_doc.m_serial);
    if (script.Open(path) != S_OK) {
        m_doc.m_bScriptRunning = false;
        platform::ShowMessage(script.IsValid() ? platform::Format(kCouldNotOpen, path.c_str())
                                               : LoadResString(IDS_NOT_A_SCRIPT_FILE));
        EndRun();
        return;
    }
    platform::WriteProfileString(kSectionSettings, kValueScriptPath, path);
    m_doc.m_bScriptRunning = true;
    AfterRun(Run(script));
}

void CScriptLauncher::RunScript()
{
    // A post made before the run was stopped starts nothing.
    if (!std::exchange(m_doc.m_bRunScriptPending, false) || !m_doc.m_bScriptRunning)
        return;
    if (DeferWhileUnwinding(ID_RUN_SCRIPT)) {
        m_doc.m_bRunScriptPending = true;
        return;
    }
    CParlimDoc::BusyScope busy(m_doc);
    CScript script(&m_doc, &m_doc.m_serial);
    if (script.Open(m_doc.m_strScriptPath) != S_OK) {
        m_doc.m_bScriptRunning = false;
        platform::ShowMessage(platform::Format(kCouldNotOpenScriptFile, m_doc.m_strScriptPath.c_str()));
        EndRun();
        return;
    }
    AfterRun(Run(script));
}

int CScriptLauncher::Run(CScript& script)
{
    ActiveRun active(m_doc);
    return script.Run();
}

void CScriptLauncher::AfterRun(int result)
{
    if (result == SCRIPT_REPEAT && m_doc.m_bScriptRunning) {
        m_doc.PostRunScript();
        return;
    }
    EndRun();
}

void CScriptLauncher::EndRun()
{
    // A script handed over while a dialog of this run was open is still to run.
    m_doc.m_bScriptRunning = m_doc.m_bRunScriptPending;
    RunEnded();
}

void CScriptLauncher::RunEnded()
{
    if (m_doc.m_nScriptRunsActive > 0)
        return;
    const int deferred = std::exchange(m_doc.m_nDeferredScriptCommand, 0);
    // A script handed over while this one ran: the run was stopped for it,
    // and it goes before any start that waited.
    if (!TakeHandOver() && deferred != 0)
        Post(deferred);
}

void CScriptLauncher::CommandHistory()
{
    if (DeferWhileUnwinding(ID_TRANSFER_COMMAND_HISTORY))
        return;
    std::list<std::string>& history = m_doc.GetCommandHistory();
    if (m_doc.m_portConfig.m_nDeviceType == CParlimDoc::kGlissom && !m_doc.m_strTypedLine.empty()) {
        history.push_back(m_doc.m_strTypedLine);
        m_doc.m_strTypedLine.clear();
    }
    CCmdHistDG dialog(&m_doc, CConnectionCommands::DialogParent());
    if (dialog.DoModal() != platform::IDOK)
        return;
    const std::string command = dialog.GetCommand().toStdString();
    if (history.empty() || !SameWithoutCase(history.back(), command))
        history.push_back(command);
    CParlimDoc::BusyScope busy(m_doc);
    m_doc.m_bHistoryRunning = true;
    m_doc.m_bScriptRunning = true;
    CScript script(&m_doc, &m_doc.m_serial);
    Run(script);
    m_doc.m_bHistoryRunning = false;
    EndRun();
}
