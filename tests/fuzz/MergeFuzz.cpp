// Whatever the decoder and the ASCII file hold, every ensemble the merger
// writes is intact: it has the size, header and offset table of the ensemble
// it was read as, and a checksum that agrees with its bytes.
//
// Input sections: decoder file, ASCII file, ensemble stream.
#include "CMergeRun.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"
#include "IProgress.h"
#include "ReferenceScan.h"
#include "TempDir.h"

#include <algorithm>

using ensemble_builder::Bytes;

namespace {

// Header, byte count, type count and offset table: what no merge may change.
std::size_t FixedPartSize(const std::uint8_t* ensemble, std::size_t size)
{
    return std::min<std::size_t>(6 + 2 * std::size_t{ensemble[5]}, size - 2);
}

std::uint16_t StoredChecksum(const std::uint8_t* ensemble, std::size_t size)
{
    return static_cast<std::uint16_t>(ensemble[size - 2] | (ensemble[size - 1] << 8));
}

std::uint16_t SumOfBytes(const std::uint8_t* bytes, std::size_t count)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint16_t>(sum);
}

// The output holds the first ensembles of the input, in order, each merged.
void RequireIntact(const Bytes& input, const std::vector<ScannedEnsemble>& read, const Bytes& output)
{
    std::size_t position = 0;
    for (const ScannedEnsemble& ensemble : read) {
        if (position == output.size())
            break;
        fuzz::Require(output.size() - position >= ensemble.size, "a written ensemble keeps its size");
        const std::uint8_t* original = input.data() + ensemble.start;
        const std::uint8_t* merged = output.data() + position;
        const std::size_t fixed = FixedPartSize(original, ensemble.size);
        fuzz::Require(std::equal(original, original + fixed, merged),
                      "a merge leaves the header and the offset table alone");
        fuzz::Require(StoredChecksum(merged, ensemble.size) == SumOfBytes(merged, ensemble.size - 2),
                      "a written ensemble's checksum agrees with its bytes");
        position += ensemble.size;
    }
    fuzz::Require(position == output.size(), "the output holds whole ensembles only");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("quenta");
    const auto sections = fuzz::SplitSections(fuzz::AsText(data, size), 3);
    const std::string stream = fuzz::SealEnsembles(sections[2]);
    const Bytes input(stream.begin(), stream.end());
    const std::vector<ScannedEnsemble> read = ReferenceScan(input, 0);
    MergeFields fields;
    fields.decoder = workspace.Write("decoder.txt", sections[0]);
    fields.ascii = workspace.Write("values.txt", sections[1]);
    fields.input = workspace.Write("input.000", stream);
    fields.output = workspace.File("output.000");
    CMergeRun run(fields);
    fuzz::Require(run.Open(), "the merge opens its files");
    NullProgress progress;
    run.Merge(progress);
    RequireIntact(input, read, ReadFileBytes(fields.output));
    return 0;
}
