#include "CLogSwitch.h"

#include "CBaseFile.h"
#include "CScListDG.h"
#include "CTerminalSettings.h"
#include "IScriptLaunchConnection.h"
#include "Format.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

using namespace parlim;

namespace {

constexpr int kFromEnd = 2;

} // namespace

CLogSwitch::CLogSwitch(IScriptLaunchConnection& connection) : m_connection(connection) {}

void CLogSwitch::StartStop()
{
    m_connection.SelectOwnSlot();
    if (m_connection.IsLogging()) {
        m_connection.SetLogging(false);
        m_connection.LogFile().Close();
    } else {
        Start();
    }
}

void CLogSwitch::Start()
{
    CScListDG chooser(m_connection.Settings(), false, CScListDG::kLogList, false, kSectionSettings,
                      m_connection.DialogParent());
    if (chooser.DoModal() != platform::IDOK)
        return;
    const std::string path = chooser.GetSelection();
    if (m_connection.LogFile().IsOpen())
        m_connection.LogFile().Close();
    m_connection.SetLogPath(path);
    if (!OpenLogFile(path)) {
        platform::ShowMessage(platform::Format(kCouldNotOpen, path.c_str()));
        return;
    }
    m_connection.SetLogging(true);
    platform::WriteProfileString(kSectionSettings, kValueLogPath, path);
}

bool CLogSwitch::OpenLogFile(const std::string& path)
{
    CBaseFile& file = m_connection.LogFile();
    if (m_connection.Settings().GetOverwriteLog())
        return file.Create(path, true) == S_OK;
    if (file.OpenAppend(path) != S_OK)
        return false;
    if (file.Seek(0, kFromEnd) != S_OK) {
        file.Close();
        return false;
    }
    return true;
}
