#pragma once
#include <cstdint>
#include <span>

// Stores of merged values into the fields of an ensemble. A field is the
// |width| bytes of a value, little-endian; widths 3 and -3 are never written.

// The field of `width` bytes at the 1-based `offset` of a data type; empty
// when any of its bytes would lie outside the data type.
std::span<std::uint8_t> FieldAt(std::span<std::uint8_t> dataType, std::uint32_t offset, int width);

// Writes v when it lies in the width's range, else leaves the field as it
// was and answers false. Width 4 takes -2^31 to 2^32-1 and keeps the low 32
// bits; width -4 takes the signed 32-bit range.
bool StoreValue(int width, std::span<std::uint8_t> field, std::int64_t v);

// Writes the part of v that the width holds directly (its low bytes, without
// a range check) and answers the rest, which the next field takes.
double StoreSplit(int width, std::span<std::uint8_t> field, std::int64_t v);
