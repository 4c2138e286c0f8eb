#include "CVosticApp.h"

#include "CVosticDlg.h"

CVosticApp::CVosticApp(int& argc, char** argv) : CUtilityApp(argc, argv, "Vostic")
{
}

int CVosticApp::InitInstance()
{
    m_cmdInfo.ParseCommandLine(Argc(), Argv());
    CVosticDlg dialog(m_cmdInfo);
    return RunMainDialog(dialog);
}
