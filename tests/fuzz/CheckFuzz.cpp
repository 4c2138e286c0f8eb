// A check run over any bytes writes its report and ends.
//
// Input sections: first ensemble number, last ensemble number, stream.
#include "CVosticCheck.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"
#include "IProgress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("vostic");
    const auto sections = fuzz::SplitSections(fuzz::AsText(data, size), 3);
    CheckRequest request;
    request.start = sections[0];
    request.end = sections[1];
    request.input = workspace.Write("input.000", fuzz::SealEnsembles(sections[2]));
    request.log = workspace.File("report.log");
    request.writeDateTime = true;
    CVosticCheck check;
    fuzz::Require(check.AcceptNames(request) && check.OpenFiles(), "the check opens its files");
    NullProgress progress;
    fuzz::Require(check.Run(progress) != CheckOutcome::WriteFailed, "the report is written");
    fuzz::Require(check.m_nValidEnsembles >= 0 && check.m_nMissingEnsembles >= 0, "counts never go below 0");
    return 0;
}
