// A conversion of any ensembles through any decoder ends normally or with a
// message, and always writes whole lines.
//
// Input sections: decoder file, first ensemble number, last ensemble number,
// ensemble stream.
#include "CConversionRun.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"
#include "IProgress.h"
#include "TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("dralin");
    const auto sections = fuzz::SplitSections(fuzz::AsText(data, size), 4);
    CConversionRun::Fields fields;
    fields.decoder = workspace.Write("decoder.txt", sections[0]);
    fields.start = sections[1];
    fields.end = sections[2];
    fields.input = workspace.Write("input.000", fuzz::SealEnsembles(sections[3]));
    fields.output = workspace.File("output.txt");
    CConversionRun run(fields);
    fuzz::Require(run.OpenFiles(), "the conversion opens its files");
    NullProgress progress;
    run.Convert(progress);
    const std::string text = ReadFileText(fields.output);
    fuzz::Require(text.empty() || text.ends_with("\r\n"), "the output ends with a whole line");
    return 0;
}
