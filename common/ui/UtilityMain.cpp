#include "UtilityMain.h"

#include "CCmdLineInfoBase.h"
#include "CUnattendedRun.h"
#include "CUtilityApp.h"
#include "DisplayProbe.h"
#include "FailedWriteSignals.h"
#include "HelpPage.h"
#include "Messages.h"
#include "NumericLocale.h"
#include "OutOfMemory.h"

#include <cstdio>

namespace {
int PrintUsage(const CCmdLineInfoBase& cmdInfo)
{
    const std::string usage = cmdInfo.Usage(platform::HelpPagePath());
    const bool written = std::fputs(usage.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : 1;
}

int RunWithoutDisplay(const CCmdLineInfoBase& cmdInfo, const std::function<void(IRunHost&)>& runFiles)
{
    platform::UseCNumericLocale();
    const bool refused = !cmdInfo.UnknownSwitches().empty();
    if (refused)
        platform::ShowMessage(cmdInfo.UnknownSwitchesText());
    if (!cmdInfo.NamesEveryFile()) {
        platform::ShowMessage(cmdInfo.MissingFilesText());
        return 1;
    }
    if (refused)
        return 1;
    CUnattendedRun run;
    runFiles(run);
    return run.ExitStatus();
}

int RunWithDisplay(int argc, char** argv, const std::string& programName, CCmdLineInfoBase& cmdInfo,
                   const std::function<int(CUtilityApp&)>& runDialog)
{
    CUtilityApp app(argc, argv, programName);
    // Without the toolkit's own options, which the application took out.
    cmdInfo.ParseCommandLine(app.Argc(), app.Argv());
    if (cmdInfo.NamesEveryFile() && !cmdInfo.UnknownSwitches().empty()) {
        platform::ShowMessage(cmdInfo.UnknownSwitchesText());
        return 1;
    }
    return runDialog(app);
}
} // namespace

int StartUtility(int argc, char** argv, const std::string& programName, CCmdLineInfoBase& cmdInfo,
                 const std::function<void(IRunHost&)>& runFiles, const std::function<int(CUtilityApp&)>& runDialog)
{
    platform::SetProgramName(programName);
    platform::LetFailedWritesReturn();
    int status = 1;
    RunUnlessOutOfMemory([&] {
        cmdInfo.ParseCommandLine(argc, argv);
        if (cmdInfo.HelpRequested())
            status = PrintUsage(cmdInfo);
        else if (!platform::DisplayCanBeOpened())
            status = RunWithoutDisplay(cmdInfo, runFiles);
        else
            status = RunWithDisplay(argc, argv, programName, cmdInfo, runDialog);
        return true;
    });
    return status;
}
