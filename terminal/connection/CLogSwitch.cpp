#include "CLogSwitch.h"

#include "CBaseFile.h"
#include "CScListDG.h"
#include "LogFileOpening.h"
#include "CTerminalSettings.h"
#include "IScriptLaunchConnection.h"
#include "Format.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

using namespace parlim;

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
    CScListDG chooser(m_connection.Settings(), false, false, m_connection.DialogParent());
    if (chooser.DoModal() != platform::IDOK)
        return;
    const std::string path = chooser.GetSelection();
    if (m_connection.LogFile().IsOpen())
        m_connection.LogFile().Close();
    m_connection.SetLogPath(path);
    if (OpenLogFile(m_connection.LogFile(), path, m_connection.Settings().GetOverwriteLog()) != S_OK) {
        platform::ShowMessage(platform::Format(kCouldNotOpen, path.c_str()));
        return;
    }
    m_connection.SetLogging(true);
    platform::WriteProfileString(kSectionSettings, kValueLogPath, path);
}
