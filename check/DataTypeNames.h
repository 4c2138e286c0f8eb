#pragma once
#include <cstdint>
#include <string>

// Name of a data-type id in the report's data-type table; empty for ids
// without a name.
std::string GetDataTypeName(std::uint16_t id);
