#include "RunConversion.h"

#include "CCmdLineInfo.h"
#include "IRunHost.h"

CConversionRun::Fields CommandLineFields(const dralin::CCmdLineInfo& cmdInfo)
{
    return {cmdInfo.m_strInput, cmdInfo.m_strOutput, cmdInfo.m_strDecoder, "0", "0"};
}

void RunConversion(IRunHost& host, const CConversionRun::Fields& fields)
{
    CConversionRun run(fields);
    host.RunWithProgress([&run] { return run.OpenFiles(); },
                         [&run](IProgress& progress) { return run.Convert(progress); });
}
