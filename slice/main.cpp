#include "CCmdLineInfo.h"
#include "CPelmarDlg.h"
#include "CUtilityApp.h"
#include "resource.h"

using namespace pelmar;

// The slicer's application object: command line, then the main dialog.
class CPelmarApp : public CUtilityApp {
public:
    using CUtilityApp::CUtilityApp;

    int InitInstance()
    {
        m_cmdInfo.ParseCommandLine(Argc(), Argv());
        CPelmarDlg dialog(m_cmdInfo);
        return RunMainDialog(dialog);
    }

    pelmar::CCmdLineInfo m_cmdInfo;
};

int main(int argc, char** argv)
{
    CPelmarApp theApp(argc, argv, IDS_PROGRAM_NAME);
    return theApp.InitInstance();
}
