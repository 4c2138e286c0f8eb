#include "EnsembleBuilder.h"

#include "TempDir.h"

#include <cstdio>
#include <stdexcept>

namespace ensemble_builder {

namespace {

void PutU16(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutByteCount(Bytes& ensemble, std::uint32_t byteCount)
{
    PutU16(ensemble, 2, byteCount & 0xFFFF);
    ensemble[4] = static_cast<std::uint8_t>((byteCount >> 16) & 0xFF);
}

} // namespace

Bytes BuildEnsemble(const std::vector<DataType>& types, std::uint8_t headerId)
{
    if (types.size() > 255)
        throw std::invalid_argument("at most 255 data types");
    std::size_t offset = 6 + 2 * types.size();
    Bytes ensemble(offset, 0);
    ensemble[0] = 0x7F;
    ensemble[1] = headerId;
    ensemble[5] = static_cast<std::uint8_t>(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (ensemble.size() > 0xFFFF)
            throw std::invalid_argument("data type offset beyond 16 bits");
        PutU16(ensemble, 6 + 2 * i, static_cast<std::uint32_t>(ensemble.size()));
        ensemble.push_back(static_cast<std::uint8_t>(types[i].id & 0xFF));
        ensemble.push_back(static_cast<std::uint8_t>(types[i].id >> 8));
        ensemble.insert(ensemble.end(), types[i].payload.begin(), types[i].payload.end());
    }
    PutByteCount(ensemble, static_cast<std::uint32_t>(ensemble.size()));
    ensemble.resize(ensemble.size() + 2);
    StoreChecksum(ensemble);
    return ensemble;
}

DataType VariableLeader(std::uint32_t number, std::size_t size)
{
    if (size < 12)
        throw std::invalid_argument("a variable leader needs 12 bytes for its number");
    DataType leader = PatternType(kVariableLeaderId, size, 0x35);
    leader.payload[0] = static_cast<std::uint8_t>(number & 0xFF);       // byte 2
    leader.payload[1] = static_cast<std::uint8_t>((number >> 8) & 0xFF); // byte 3
    leader.payload[9] = static_cast<std::uint8_t>((number >> 16) & 0xFF); // byte 11
    return leader;
}

DataType PatternType(std::uint16_t id, std::size_t size, std::uint8_t seed)
{
    if (size < 2)
        throw std::invalid_argument("a data type holds at least its id");
    DataType type{id, Bytes(size - 2)};
    for (std::size_t i = 0; i < type.payload.size(); ++i)
        type.payload[i] = static_cast<std::uint8_t>(seed + i * 7);
    return type;
}

Bytes TypicalEnsemble(std::uint32_t number, std::size_t velocityBytes)
{
    return BuildEnsemble({PatternType(kFixedLeaderId, 59, 0x11), VariableLeader(number),
                          PatternType(kVelocityId, velocityBytes, static_cast<std::uint8_t>(number))});
}

std::uint16_t Checksum(const Bytes& ensemble)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 2 < ensemble.size(); ++i)
        sum += ensemble[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void StoreChecksum(Bytes& ensemble)
{
    PutU16(ensemble, ensemble.size() - 2, Checksum(ensemble));
}

Bytes WithBadChecksum(Bytes ensemble)
{
    ensemble[ensemble.size() - 1] ^= 0x5A;
    return ensemble;
}

Bytes WithByteCount(Bytes ensemble, std::uint32_t byteCount)
{
    PutByteCount(ensemble, byteCount);
    return ensemble;
}

Bytes Truncated(const Bytes& ensemble, std::size_t keep)
{
    return Bytes(ensemble.begin(), ensemble.begin() + static_cast<std::ptrdiff_t>(keep));
}

Bytes Concat(const std::vector<Bytes>& pieces)
{
    Bytes all;
    for (const Bytes& piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

Bytes TypicalEnsembles(std::uint32_t first, std::uint32_t last, std::size_t velocityBytes)
{
    Bytes all;
    for (std::uint32_t number = first; number <= last; ++number) {
        const Bytes ensemble = TypicalEnsemble(number, velocityBytes);
        all.insert(all.end(), ensemble.begin(), ensemble.end());
    }
    return all;
}

std::vector<Bytes> CutAt(const Bytes& stream, const std::vector<std::size_t>& points)
{
    std::vector<Bytes> parts;
    std::size_t start = 0;
    for (std::size_t point : points) {
        if (point < start || point > stream.size())
            throw std::invalid_argument("cut points must ascend within the stream");
        parts.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(start),
                           stream.begin() + static_cast<std::ptrdiff_t>(point));
        start = point;
    }
    parts.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(start), stream.end());
    return parts;
}

std::string PartName(const std::string& stem, const std::string& ext, PartNaming naming,
                     unsigned number)
{
    char digits[16];
    if (naming == PartNaming::Title) {
        std::snprintf(digits, sizeof digits, "_%06u", number);
        return stem + digits + ext;
    }
    std::snprintf(digits, sizeof digits, ".%03u", number);
    return stem + digits;
}

std::vector<std::string> WritePartChain(const TempDir& dir, const std::string& stem,
                                        const std::string& ext, PartNaming naming,
                                        const std::vector<Bytes>& parts, unsigned firstNumber)
{
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        paths.push_back(dir.File(PartName(stem, ext, naming, firstNumber + static_cast<unsigned>(i))));
        WriteFileBytes(paths.back(), parts[i]);
    }
    return paths;
}

} // namespace ensemble_builder
