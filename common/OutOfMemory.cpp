#include "OutOfMemory.h"

#include "Messages.h"
#include "UtilityTexts.h"

#include <cstdio>
#include <new>

namespace {
void ReportNoMemory()
{
    try {
        platform::ShowMessage(utility_text::kMsgNoMemory);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), utility_text::kMsgNoMemory);
    }
}
} // namespace

bool RunUnlessOutOfMemory(const std::function<bool()>& work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        ReportNoMemory();
        return false;
    }
}
