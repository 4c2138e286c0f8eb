#include "CCmdLineInfo.h"
#include "CQuentaDlg.h"
#include "RunMerge.h"
#include "UtilityMain.h"
#include "resource.h"

// Quenta: values of a text file merged into the ensembles of a file.
int main(int argc, char** argv)
{
    quenta::CCmdLineInfo cmdInfo;
    return RunUtility<CQuentaDlg>(argc, argv, quenta::kCaption, cmdInfo,
                                  [&cmdInfo](IRunHost& host) { RunMerge(host, CommandLineFields(cmdInfo)); });
}
