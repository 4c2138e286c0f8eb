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

void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz finding: %s\n", property);
    std::abort();
}

} // namespace fuzz
