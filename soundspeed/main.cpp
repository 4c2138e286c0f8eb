#include "CUtilityApp.h"
#include "CZarnelDlg.h"

int main(int argc, char** argv)
{
    CUtilityApp app(argc, argv, "Zarnel");
    CZarnelDlg dialog;
    return app.RunMainDialog(dialog, CUtilityApp::CommandLine::None);
}
