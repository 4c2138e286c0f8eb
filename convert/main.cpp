#include "CCmdLineInfo.h"
#include "CDralinDlg.h"
#include "RunConversion.h"
#include "UtilityMain.h"

// Dralin: ensembles to text lines through a decoder file.
int main(int argc, char** argv)
{
    dralin::CCmdLineInfo cmdInfo;
    return RunUtility<CDralinDlg>(argc, argv, "Dralin", cmdInfo,
                                  [&cmdInfo](IRunHost& host) { RunConversion(host, CommandLineFields(cmdInfo)); });
}
