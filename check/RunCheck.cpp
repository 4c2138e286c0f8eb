#include "RunCheck.h"

#include "CCmdLineInfo.h"
#include "IRunHost.h"

CheckRequest CommandLineRequest(const vostic::CCmdLineInfo& cmdInfo)
{
    CheckRequest request;
    request.input = cmdInfo.m_strInput;
    request.log = cmdInfo.m_strOutput;
    request.start = std::to_string(CVosticCheck::NumberFromText(cmdInfo.m_strStart));
    request.end = std::to_string(CVosticCheck::NumberFromText(cmdInfo.m_strEnd));
    return request;
}

void RunCheck(IRunHost& host, const CheckRequest& request, const CheckHooks& hooks)
{
    CVosticCheck check;
    host.RunWithProgress(
        [&check, &request, &hooks] {
            if (!check.AcceptNames(request))
                return false;
            if (hooks.namesAccepted)
                hooks.namesAccepted();
            return check.OpenFiles();
        },
        [&check, &hooks](IProgress& progress) {
            const CheckOutcome outcome = check.Run(progress);
            if (hooks.checked)
                hooks.checked(check);
            return outcome == CheckOutcome::Completed;
        });
}
