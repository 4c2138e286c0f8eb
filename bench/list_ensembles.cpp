// Lists the ensembles and waves packets of a recording (a part chain is
// followed from its first part): one line each with the ensemble number,
// size, header id and number of data types, then a total line.
// Usage: list_ensembles [-q] FILE   (-q prints the total line only)
#include "CQelEns.h"
#include "CQelEnsFile.h"
#include "CVarLeader.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    const bool quiet = argc == 3 && std::strcmp(argv[1], "-q") == 0;
    if (argc != 2 && !quiet) {
        std::fprintf(stderr, "usage: list_ensembles [-q] FILE\n");
        return 2;
    }
    const std::string name = argv[argc - 1];
    CQelEnsFile file(2);
    if (FAILED(file.Open(name))) {
        std::fprintf(stderr, "Cannot open file %s.\n", name.c_str());
        return 1;
    }
    unsigned long long ensembles = 0;
    unsigned long long bytes = 0;
    while (int size = file.ReadNextEnsemble()) {
        ++ensembles;
        bytes += static_cast<unsigned>(size);
        if (quiet)
            continue;
        CQelEns ensemble(file.m_pEnsemble);
        CVarLeader leader(&ensemble);
        std::printf("%8u %8d 0x%02X %3u\n", leader.GetEnsembleNumber(), size, file.m_pEnsemble[1],
                    static_cast<unsigned>(file.m_pEnsemble[5]));
    }
    std::printf("%llu ensembles, %llu bytes of %llu\n", ensembles, bytes,
                static_cast<unsigned long long>(file.GetTotalLength()));
    return ensembles == 0 ? 1 : 0;
}
