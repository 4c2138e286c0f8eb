// Writes two recordings of the same size for timing resynchronisation:
// DIRECTORY/damaged.ens holds ten ensembles, then MEBIBYTES MiB of a repeated
// false header (7F 7F 3E 42 0F, each claiming an ensemble of 1,000,000 bytes),
// then ensembles up to the total; DIRECTORY/clean.ens holds ensembles only.
// Usage: make_damaged DIRECTORY MEBIBYTES TOTAL_MEGABYTES
#include "EnsembleBytes.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint8_t kFalseHeader[] = {0x7F, 0x7F, 0x3E, 0x42, 0x0F};

// Appends numbered ensembles from `number` on until `bytes` holds `total` bytes.
void FillWithEnsembles(bench::Bytes& bytes, std::size_t total, std::uint32_t number)
{
    while (bytes.size() < total) {
        const bench::Bytes ensemble = bench::NumberedEnsemble(number++ & 0xFFFFFF);
        bytes.insert(bytes.end(), ensemble.begin(), ensemble.end());
    }
}

bool WriteFile(const std::string& name, const bench::Bytes& bytes)
{
    std::FILE* out = std::fopen(name.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "Cannot create file %s.\n", name.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "Problems with writing to output file.\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_damaged DIRECTORY MEBIBYTES TOTAL_MEGABYTES\n");
        return 2;
    }
    const std::string directory = argv[1];
    const std::size_t damage = std::strtoull(argv[2], nullptr, 10) * 1024 * 1024;
    const std::size_t total = std::strtoull(argv[3], nullptr, 10) * 1000 * 1000;
    bench::Bytes damaged;
    FillWithEnsembles(damaged, 1, 0);
    for (std::uint32_t n = 1; n < 10; ++n)
        FillWithEnsembles(damaged, damaged.size() + 1, n);
    for (std::size_t i = 0; i < damage; ++i)
        damaged.push_back(kFalseHeader[i % sizeof kFalseHeader]);
    FillWithEnsembles(damaged, total, 10);
    bench::Bytes clean;
    FillWithEnsembles(clean, damaged.size(), 0);
    clean.resize(damaged.size());
    return WriteFile(directory + "/damaged.ens", damaged) && WriteFile(directory + "/clean.ens", clean) ? 0 : 1;
}
