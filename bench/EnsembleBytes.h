#pragma once
// Byte-level ensemble writing shared by the sample and benchmark generators.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace bench {

using Bytes = std::vector<std::uint8_t>;

inline void PutU16(Bytes& bytes, std::size_t at, unsigned value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// A zero-filled data type of `size` bytes that begins with its id.
inline Bytes DataType(std::uint16_t id, std::size_t size)
{
    Bytes type(size, 0);
    PutU16(type, 0, id);
    return type;
}

// Header, 24-bit byte count, offset table, the data types and the checksum.
inline Bytes Ensemble(const std::vector<Bytes>& types, std::uint8_t headerId = 0x7F)
{
    Bytes ensemble(6 + 2 * types.size(), 0);
    ensemble[0] = 0x7F;
    ensemble[1] = headerId;
    ensemble[5] = static_cast<std::uint8_t>(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (ensemble.size() > 0xFFFF)
            throw std::length_error("data type offset beyond 16 bits");
        PutU16(ensemble, 6 + 2 * i, static_cast<unsigned>(ensemble.size()));
        ensemble.insert(ensemble.end(), types[i].begin(), types[i].end());
    }
    const std::size_t byteCount = ensemble.size();
    PutU16(ensemble, 2, static_cast<unsigned>(byteCount & 0xFFFF));
    ensemble[4] = static_cast<std::uint8_t>(byteCount >> 16);
    unsigned sum = 0;
    for (std::uint8_t byte : ensemble)
        sum += byte;
    ensemble.resize(byteCount + 2);
    PutU16(ensemble, byteCount, sum & 0xFFFF);
    return ensemble;
}

// Variable leader carrying the 24-bit ensemble number (bytes 2-3 and 11).
inline Bytes VariableLeader(std::uint32_t number)
{
    Bytes leader = DataType(0x0080, 65);
    PutU16(leader, 2, number & 0xFFFF);
    leader[11] = static_cast<std::uint8_t>(number >> 16);
    return leader;
}

// An ensemble of about 1 KiB: the variable leader and 930 bytes of velocity
// whose values follow from the number.
inline Bytes NumberedEnsemble(std::uint32_t number)
{
    Bytes velocity = DataType(0x0100, 930);
    for (std::size_t i = 2; i < velocity.size(); ++i)
        velocity[i] = static_cast<std::uint8_t>(number * 13 + i * 7);
    return Ensemble({VariableLeader(number), velocity});
}

} // namespace bench
