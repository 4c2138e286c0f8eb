#include "CScriptLauncher.h"

#include "CCmdHistDG.h"
#include "CConnectionCommands.h"
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CParlimMF.h"
#include "CScListDG.h"
#include "CScript.h"
#include "Format.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

#include <QString>

namespace {

constexpr const char* kScriptList = "SCBS";

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
    if (CParlimMF* frame = CParlimApp::Instance()->MainFrame())
        frame->PostCommand(&m_doc, commandId);
}

void CScriptLauncher::SendScript()
{
    if (TakeHandOver())
        return;
    try {
        if (m_doc.m_bScriptRunning)
            StopRunning();
        else
            ChooseAndRun();
    } catch (...) {
    }
}

bool CScriptLauncher::TakeHandOver()
{
    if (m_doc.m_bScriptRunning)
        return false;
    const std::string path = HandedOverPath();
    if (path.empty())
        return false;
    // A stopped run that still unwinds would take up the new flag as its
    // own; that run takes the hand-over up once it has returned.
    if (m_doc.m_nScriptRunsActive > 0)
        return true;
    m_doc.m_bScriptRunning = true;
    m_doc.m_strScriptPath = path;
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, "");
    Post(ID_RUN_SCRIPT);
    return true;
}

void CScriptLauncher::StopRunning()
{
    m_doc.m_bScriptRunning = false;
    // A run still under way takes the hand-over up itself once it has ended.
    if (m_doc.m_nScriptRunsActive == 0 && !HandedOverPath().empty())
        Post(ID_FILE_SEND_SCRIPT);
}

void CScriptLauncher::ChooseAndRun()
{
    CParlimApp& app = *CParlimApp::Instance();
    if (m_doc.m_nPortIndex >= 0 && m_doc.m_nPortIndex < kPortSlotCount)
        app.m_nCurPort = m_doc.m_nPortIndex;
    CScListDG chooser(true, kScriptList, false, kSectionSettings, CConnectionCommands::DialogParent());
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
        return;
    }
    platform::WriteProfileString(kSectionSettings, kValueScriptPath, path);
    m_doc.m_bScriptRunning = true;
    int result = SCRIPT_ERROR;
    {
        ActiveRun active(m_doc);
        result = script.Run();
    }
    AfterRun(result);
}

void CScriptLauncher::RunScript()
{
    // A run stopped while its repetition was on the way stays stopped.
    if (!m_doc.m_bScriptRunning)
        return;
    CParlimDoc::BusyScope busy(m_doc);
    CScript script(&m_doc, &m_doc.m_serial);
    if (script.Open(m_doc.m_strScriptPath) != S_OK) {
        m_doc.m_bScriptRunning = false;
        platform::ShowMessage(platform::Format(kCouldNotOpenScriptFile, m_doc.m_strScriptPath.c_str()));
        return;
    }
    int result = SCRIPT_ERROR;
    {
        ActiveRun active(m_doc);
        result = script.Run();
    }
    AfterRun(result);
}

void CScriptLauncher::AfterRun(int result)
{
    if (result == SCRIPT_REPEAT && m_doc.m_bScriptRunning) {
        Post(ID_RUN_SCRIPT);
        return;
    }
    m_doc.m_bScriptRunning = false;
    // A script handed over while this one ran: its run was stopped for it.
    if (m_doc.m_nScriptRunsActive == 0 && !HandedOverPath().empty())
        Post(ID_FILE_SEND_SCRIPT);
}

void CScriptLauncher::CommandHistory()
{
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
    {
        ActiveRun active(m_doc);
        CScript script(&m_doc, &m_doc.m_serial);
        script.Run();
    }
    m_doc.m_bScriptRunning = false;
    m_doc.m_bHistoryRunning = false;
}
