#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

std::vector<std::string_view> SplitSections(std::string_view input, std::size_t count)
{
    std::vector<std::string_view> sections;
    while (sections.size() + 1 < count) {
        const std::size_t cut = input.find(kSectionSeparator);
        if (cut == std::string_view::npos)
            break;
        sections.push_back(input.substr(0, cut));
        input.remove_prefix(cut + kSectionSeparator.size());
    }
    sections.push_back(input);
    sections.resize(count);
    return sections;
}

std::string JoinSections(const std::vector<std::string>& sections)
{
    std::string joined;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i > 0)
            joined += kSectionSeparator;
        joined += sections[i];
    }
    return joined;
}

std::string SealEnsembles(std::string_view stream)
{
    std::string sealed(stream);
    auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(sealed[at]); };
    std::size_t at = 0;
    while (at + 6 <= sealed.size()) {
        const bool header = byte(at) == 0x7F && (byte(at + 1) == 0x7F || byte(at + 1) == 0x79);
        const std::size_t size = (byte(at + 2) | byte(at + 3) << 8 | byte(at + 4) << 16) + std::size_t{2};
        if (!header || size < 6 || size > sealed.size() - at) {
            ++at;
            continue;
        }
        std::uint32_t sum = 0;
        for (std::size_t i = at; i < at + size - 2; ++i)
            sum += byte(i);
        sealed[at + size - 2] = static_cast<char>(sum & 0xFF);
        sealed[at + size - 1] = static_cast<char>((sum >> 8) & 0xFF);
        at += size;
    }
    return sealed;
}

void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz finding: %s\n", property);
    std::abort();
}

} // namespace fuzz
