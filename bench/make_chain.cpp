// Writes a chain of part files of about 1 KiB ensembles for timing the reader.
// Usage: make_chain DIRECTORY MEBIBYTES PARTS
// The parts are DIRECTORY/chain_000001.ens, ...; cuts fall inside ensembles.
#include "EnsembleBytes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string PartName(const std::string& directory, int part)
{
    char name[32];
    std::snprintf(name, sizeof name, "/chain_%06d.ens", part);
    return directory + name;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_chain DIRECTORY MEBIBYTES PARTS\n");
        return 2;
    }
    const std::string directory = argv[1];
    const unsigned long long total = std::strtoull(argv[2], nullptr, 10) * 1024 * 1024;
    const int parts = std::atoi(argv[3]);
    if (total == 0 || parts < 1) {
        std::fprintf(stderr, "make_chain: size and parts must be positive\n");
        return 2;
    }
    const unsigned long long partSize = total / static_cast<unsigned long long>(parts);
    unsigned long long written = 0;
    std::uint32_t number = 0;
    bench::Bytes pending; // the rest of an ensemble cut by a part's end
    for (int part = 1; part <= parts; ++part) {
        const std::string name = PartName(directory, part);
        std::FILE* out = std::fopen(name.c_str(), "wb");
        if (!out) {
            std::fprintf(stderr, "Cannot create file %s.\n", name.c_str());
            return 1;
        }
        const unsigned long long end = part == parts ? total : written + partSize;
        bool ok = true;
        while (ok && written < end) {
            if (pending.empty())
                pending = bench::NumberedEnsemble(number++ & 0xFFFFFF);
            const std::size_t chunk = static_cast<std::size_t>(std::min<unsigned long long>(pending.size(), end - written));
            ok = std::fwrite(pending.data(), 1, chunk, out) == chunk;
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(chunk));
            written += chunk;
        }
        if (std::fclose(out) != 0 || !ok) {
            std::fprintf(stderr, "Problems with writing to output file.\n");
            return 1;
        }
    }
    return 0;
}
