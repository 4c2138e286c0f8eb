#include "CCmdLineInfo.h"
#include "CQuentaDlg.h"
#include "CUtilityApp.h"

// The merger's application object: the command line, then the main dialog.
class CQuentaApp : public CUtilityApp {
public:
    using CUtilityApp::CUtilityApp;

    int InitInstance()
    {
        m_cmdInfo.ParseCommandLine(Argc(), Argv());
        CQuentaDlg dialog(m_cmdInfo);
        return RunMainDialog(dialog);
    }

    quenta::CCmdLineInfo m_cmdInfo;
};

int main(int argc, char** argv)
{
    CQuentaApp app(argc, argv, "Quenta");
    return app.InitInstance();
}
