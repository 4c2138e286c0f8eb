// A conversion of any ensembles through any decoder ends normally or with a
// message and writes whole lines: over the whole file, one line per line end
// of the decoder for every ensemble.
//
// Input sections: decoder file, first ensemble number, last ensemble number,
// ensemble stream.
#include "CBaseFile.h"
#include "CConversionRun.h"
#include "CDecoder.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"
#include "IProgress.h"
#include "ReferenceScan.h"
#include "TempDir.h"

#include <algorithm>

namespace {

// Line ends of the decoder file; 0 when it does not load.
std::size_t LinesPerEnsemble(const std::string& decoderPath)
{
    CBaseFile file;
    CDecoder decoder;
    if (file.Open(decoderPath) != S_OK || !decoder.Load(file))
        return 0;
    return static_cast<std::size_t>(std::count_if(decoder.m_records.begin(), decoder.m_records.end(),
                                                  [](const DecoderRecord& record) { return record.IsLineEnd(); }));
}

std::size_t LinesOf(const std::string& text)
{
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("dralin");
    const auto sections = fuzz::SplitSections(fuzz::AsText(data, size), 4);
    const std::string stream = fuzz::SealEnsembles(sections[3]);
    CConversionRun::Fields fields;
    fields.decoder = workspace.Write("decoder.txt", sections[0]);
    fields.start = sections[1];
    fields.end = sections[2];
    fields.input = workspace.Write("input.000", stream);
    fields.output = workspace.File("output.txt");
    CConversionRun run(fields);
    fuzz::Require(run.OpenFiles(), "the conversion opens its files");
    NullProgress progress;
    const bool converted = run.Convert(progress);
    const std::string text = ReadFileText(fields.output);
    fuzz::Require(text.empty() || text.ends_with("\r\n"), "the output ends with a whole line");
    if (converted && fields.start.empty() && fields.end.empty()) {
        const std::size_t ensembles = ReferenceScan({stream.begin(), stream.end()}, 0).size();
        fuzz::Require(LinesOf(text) == ensembles * LinesPerEnsemble(fields.decoder),
                      "every ensemble gives one line per line end of the decoder");
    }
    return 0;
}
