// Replays stored inputs through a fuzz target without libFuzzer, so every
// input that ever crashed stays a test of the ordinary builds. Arguments are
// files or folders (every file in them, in name order); a finding aborts.
#include "FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& argument)
{
    if (!std::filesystem::is_directory(argument))
        return {argument};
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(argument)) {
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool Replay(const std::filesystem::path& input)
{
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        // A folder that does not exist holds no inputs yet.
        if (!std::filesystem::exists(argv[i]))
            continue;
        for (const auto& input : InputsOf(argv[i])) {
            if (!Replay(input))
                return 1;
            ++replayed;
        }
    }
    std::printf("%d inputs replayed without a finding\n", replayed);
    return 0;
}
