#include "CCmdLineInfo.h"
#include "CVosticDlg.h"
#include "RunCheck.h"
#include "UtilityMain.h"

// Vostic: checks a file's ensembles and writes a report.
int main(int argc, char** argv)
{
    vostic::CCmdLineInfo cmdInfo;
    return RunUtility<CVosticDlg>(argc, argv, "Vostic", cmdInfo,
                                  [&cmdInfo](IRunHost& host) { RunCheck(host, CommandLineRequest(cmdInfo)); });
}
