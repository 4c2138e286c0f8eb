#include "RunMerge.h"

#include "CCmdLineInfo.h"
#include "Format.h"
#include "IRunHost.h"
#include "Messages.h"
#include "TextLineLimit.h"
#include "resource.h"

namespace {
void ReportAsciiEnd(CMergeRun::Outcome outcome, const std::string& ascii)
{
    if (outcome == CMergeRun::Outcome::AsciiExhausted)
        platform::ShowMessage(platform::Format(quenta::kMsgAsciiRanOut, ascii.c_str()));
    else if (outcome == CMergeRun::Outcome::AsciiLineTooLong)
        platform::ShowMessage(platform::Format(quenta::kMsgAsciiLineTooLong, ascii.c_str(), kMaxTextLineBytes));
}
} // namespace

MergeFields CommandLineFields(const quenta::CCmdLineInfo& cmdInfo)
{
    return {cmdInfo.m_strInput, cmdInfo.m_strOutput, cmdInfo.m_strDecoder, cmdInfo.m_strAscii, "0", "0"};
}

void RunMerge(IRunHost& host, const MergeFields& fields)
{
    CMergeRun run(fields);
    host.RunWithProgress([&run] { return run.Open(); },
                         [&host, &run, &fields](IProgress& progress) {
                             const CMergeRun::Outcome outcome = run.Merge(progress);
                             if (host.IsHeadlessAutoRun())
                                 ReportAsciiEnd(outcome, fields.ascii);
                             return outcome == CMergeRun::Outcome::NormalEnd;
                         });
}
