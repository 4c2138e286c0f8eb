#include "CCmdLineInfo.h"
#include "CPelmarDlg.h"
#include "RunSlicing.h"
#include "UtilityMain.h"
#include "resource.h"

// Pelmar: cuts a file into slices at ensemble boundaries.
int main(int argc, char** argv)
{
    pelmar::CCmdLineInfo cmdInfo;
    return RunUtility<CPelmarDlg>(argc, argv, pelmar::IDS_PROGRAM_NAME, cmdInfo,
                                  [&cmdInfo](IRunHost& host) { RunSlicing(host, CommandLineSettings(cmdInfo)); });
}
