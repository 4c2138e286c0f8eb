#pragma once
#include "EnsembleBuilder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One ensemble that the ensemble reader hands out: where it starts in the
// stream, its size and the stream position after it.
struct ScannedEnsemble {
    std::size_t start;
    std::size_t size;
    std::uint64_t positionAfter;

    bool operator==(const ScannedEnsemble&) const = default;
};

// The reader's scan done literally, one byte at a time over one buffer, for
// header mode `mode` (0: 0x7F, 1: 0x79, 2: both): every ensemble that calls
// in a row return, up to the first call that returns none.
std::vector<ScannedEnsemble> ReferenceScan(const ensemble_builder::Bytes& stream, int mode);
