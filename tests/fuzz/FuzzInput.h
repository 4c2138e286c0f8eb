#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every target defines the libFuzzer entry; the replay program and libFuzzer
// both call it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Inputs that stand for several files carry them as sections parted by this
// line, so seeds and reproducers stay readable.
inline constexpr std::string_view kSectionSeparator = "\n=====\n";

// The first count - 1 separators cut the input; the last section keeps the
// rest, separators included. Missing sections are empty.
std::vector<std::string_view> SplitSections(std::string_view input, std::size_t count);
std::string JoinSections(const std::vector<std::string>& sections);

// Gives every plausible ensemble of the stream (a header, a byte count that
// fits the rest) the checksum of its bytes, so that mutated ensembles reach
// the code behind the reader's checksum test instead of being skipped.
std::string SealEnsembles(std::string_view stream);

// A broken property is a finding: the message goes to standard error and the
// process aborts, so libFuzzer keeps the input and a replay fails.
void Require(bool holds, const char* property);

} // namespace fuzz
