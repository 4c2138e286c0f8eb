#pragma once
#include "CVosticCheck.h"

#include <functional>

class IRunHost;
namespace vostic {
class CCmdLineInfo;
}

// What the dialog does around a check: clear its statistics once the names
// are accepted, show the results once the check ran.
struct CheckHooks {
    std::function<void()> namesAccepted;
    std::function<void(const CVosticCheck&)> checked;
};

// What the command line puts into the dialog's fields: the two names and the
// range as the fields show it (0 for a missing or unreadable number).
CheckRequest CommandLineRequest(const vostic::CCmdLineInfo& cmdInfo);

// One check of `request` (the dialog's texts as typed) in `host`.
void RunCheck(IRunHost& host, const CheckRequest& request, const CheckHooks& hooks = {});
