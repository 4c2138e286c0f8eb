#pragma once
#include "CUtilityApp.h"

#include <functional>
#include <string>

class CCmdLineInfoBase;
class IRunHost;

// The start of a data utility, from main. "--help" or "-h" prints the usage
// to standard output and ends (1 only when it could not be written), never
// with a window. Without a display a command line that names every file runs
// `runFiles` straight, with no application object, window or font, and one
// that names too few says which switches are needed (status 1). With a
// display the application starts and `runDialog` takes over. A switch that
// matches no key beside every file refuses the run (status 1). Memory that
// cannot be had ends the program with a message and status 1.
int StartUtility(int argc, char** argv, const std::string& programName, CCmdLineInfoBase& cmdInfo,
                 const std::function<void(IRunHost&)>& runFiles, const std::function<int(CUtilityApp&)>& runDialog);

// StartUtility with a `Dialog` built on the command line as the main dialog.
template <class Dialog, class CmdLineInfo>
int RunUtility(int argc, char** argv, const std::string& programName, CmdLineInfo& cmdInfo,
               const std::function<void(IRunHost&)>& runFiles)
{
    return StartUtility(argc, argv, programName, cmdInfo, runFiles, [&cmdInfo](CUtilityApp& app) {
        Dialog dialog(cmdInfo);
        return app.RunMainDialog(dialog, &cmdInfo);
    });
}
