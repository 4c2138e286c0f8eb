// The ensemble reader over a chain of part files must hand out exactly the
// ensembles, positions and bytes of the plain byte scan over the whole stream.
//
// Input: byte 0 picks the header mode (bits 0-1) and the part naming (bit 2);
// byte 1 the number of cuts (0-7), each then given as two bytes; the rest is
// the stream.
#include "CQelEnsFile.h"
#include "EnsembleBuilder.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"
#include "ReferenceScan.h"

#include <algorithm>

using namespace ensemble_builder;

namespace {

struct ChainInput {
    int mode = 0;
    PartNaming naming = PartNaming::Title;
    std::vector<std::size_t> cuts;
    Bytes stream;
};

ChainInput Parse(const std::uint8_t* data, std::size_t size)
{
    ChainInput input;
    if (size < 2)
        return input;
    input.mode = std::min(data[0] & 3, 2);
    input.naming = (data[0] & 4) != 0 ? PartNaming::Extension : PartNaming::Title;
    const std::size_t cutCount = std::min<std::size_t>(data[1] & 7, (size - 2) / 2);
    const std::uint8_t* cutBytes = data + 2;
    input.stream.assign(cutBytes + 2 * cutCount, data + size);
    for (std::size_t i = 0; i < cutCount; ++i) {
        const std::size_t raw = cutBytes[2 * i] | (cutBytes[2 * i + 1] << 8);
        input.cuts.push_back(raw % (input.stream.size() + 1));
    }
    std::sort(input.cuts.begin(), input.cuts.end());
    return input;
}

std::vector<ScannedEnsemble> ReadChain(CQelEnsFile& file, const Bytes& stream)
{
    std::vector<ScannedEnsemble> found;
    while (const int size = file.ReadNextEnsemble()) {
        const std::uint64_t after = file.GetPosition();
        fuzz::Require(after >= static_cast<std::uint64_t>(size) && after <= stream.size(),
                      "an ensemble lies inside the stream");
        const std::size_t start = after - static_cast<std::size_t>(size);
        fuzz::Require(std::equal(file.m_pEnsemble, file.m_pEnsemble + size, stream.begin() + start),
                      "an ensemble holds the stream's bytes");
        found.push_back({start, static_cast<std::size_t>(size), after});
    }
    return found;
}

// After the scan the chain still reads as one stream from its start.
void RequireWholeStream(CQelEnsFile& file, const Bytes& stream)
{
    fuzz::Require(SUCCEEDED(file.Seek(0, 0)), "the chain seeks back to its start");
    Bytes read(stream.size() + 1);
    std::uint32_t got = 0;
    fuzz::Require(SUCCEEDED(file.Read(read.data(), static_cast<std::uint32_t>(read.size()), &got)),
                  "the chain reads");
    read.resize(got);
    fuzz::Require(read == stream, "the chain reads as the stream");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("reader");
    const ChainInput input = Parse(data, size);
    const auto paths = WritePartChain(workspace.Files(), "run", ".ens", input.naming,
                                      CutAt(input.stream, input.cuts));
    CQelEnsFile file(input.mode);
    fuzz::Require(file.Open(paths.front()) == S_OK, "the first part opens");
    fuzz::Require(file.GetTotalLength() == input.stream.size(), "the chain is as long as the stream");
    fuzz::Require(ReadChain(file, input.stream) == ReferenceScan(input.stream, input.mode),
                  "the reader finds what the byte scan finds");
    RequireWholeStream(file, input.stream);
    return 0;
}
