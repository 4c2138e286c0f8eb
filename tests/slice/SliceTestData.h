#pragma once
#include "EnsembleBuilder.h"

#include <cstdint>
#include <initializer_list>

// Ensembles for slicing tests: a number and an exact total size.
inline ensemble_builder::Bytes NumberedEnsemble(std::uint32_t number, std::size_t totalSize = 300)
{
    using namespace ensemble_builder;
    std::size_t bare = BuildEnsemble({VariableLeader(number), PatternType(kVelocityId, 2)}).size();
    return BuildEnsemble({VariableLeader(number), PatternType(kVelocityId, 2 + totalSize - bare,
                                                               static_cast<std::uint8_t>(number))});
}

inline ensemble_builder::Bytes NumberedRun(std::initializer_list<std::uint32_t> numbers,
                                           std::size_t totalSize = 300)
{
    ensemble_builder::Bytes stream;
    for (std::uint32_t number : numbers) {
        ensemble_builder::Bytes one = NumberedEnsemble(number, totalSize);
        stream.insert(stream.end(), one.begin(), one.end());
    }
    return stream;
}
