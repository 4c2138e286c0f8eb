#include "CCmdLineInfo.h"
#include "CDralinDlg.h"
#include "CUtilityApp.h"

// Dralin: ensembles to text lines through a decoder file.
class CDralinApp : public CUtilityApp {
public:
    using CUtilityApp::CUtilityApp;

    int InitInstance()
    {
        m_cmdInfo.ParseCommandLine(Argc(), Argv());
        CDralinDlg dialog(m_cmdInfo);
        return RunMainDialog(dialog);
    }

    dralin::CCmdLineInfo m_cmdInfo;
};

int main(int argc, char** argv)
{
    CDralinApp app(argc, argv, "Dralin");
    return app.InitInstance();
}
