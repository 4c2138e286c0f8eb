#include "CLogSwitch.h"

#include "CConnectionCommands.h"
#include "CLogWnd.h"
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CScListDG.h"
#include "Format.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

using namespace parlim;

namespace {

constexpr int kFromEnd = 2;

} // namespace

CLogSwitch::CLogSwitch(CParlimDoc& document) : m_doc(document) {}

void CLogSwitch::StartStop()
{
    m_doc.SelectOwnSlot();
    if (m_doc.m_bLogging) {
        m_doc.SetLogging(false);
        m_doc.m_logFile.Close();
    } else {
        Start();
    }
    HandLogFileToWindow();
}

void CLogSwitch::Start()
{
    CScListDG chooser(false, CScListDG::kLogList, false, kSectionSettings, CConnectionCommands::DialogParent());
    if (chooser.DoModal() != platform::IDOK)
        return;
    const std::string path = chooser.GetSelection();
    if (m_doc.m_logFile.IsOpen())
        m_doc.m_logFile.Close();
    m_doc.SetLogPath(path);
    if (!OpenLogFile(path)) {
        platform::ShowMessage(platform::Format(kCouldNotOpen, path.c_str()));
        return;
    }
    m_doc.SetLogging(true);
    platform::WriteProfileString(kSectionSettings, kValueLogPath, path);
}

bool CLogSwitch::OpenLogFile(const std::string& path)
{
    CBaseFile& file = m_doc.m_logFile;
    if (CParlimApp::Instance()->GetOverwriteLog())
        return file.Create(path, true) == S_OK;
    if (file.OpenAppend(path) != S_OK)
        return false;
    if (file.Seek(0, kFromEnd) != S_OK) {
        file.Close();
        return false;
    }
    return true;
}

void CLogSwitch::HandLogFileToWindow()
{
    CLogWnd* window = m_doc.GetLogWnd();
    if (!window)
        return;
    window->m_hLogFile = m_doc.m_bLogging ? m_doc.m_logFile.m_hFile : -1;
    window->m_nLogBytes = 0;
}
