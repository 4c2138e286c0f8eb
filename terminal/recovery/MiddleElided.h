#pragma once
// A name short enough for a message line: a long one keeps its start and
// its end, joined by "...", so the extension stays in sight.
#include <cstddef>
#include <string>
#include <string_view>

// Names up to 2 * kept + 3 bytes come back whole; the cut never splits a
// UTF-8 character.
std::string MiddleElided(std::string_view name, std::size_t kept = 24);
