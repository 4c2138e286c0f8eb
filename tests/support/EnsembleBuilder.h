#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TempDir;

// Builds binary ensembles and part chains for tests.
//
//   using namespace ensemble_builder;
//   Bytes one = TypicalEnsemble(41);                        // fixed + variable leader + velocity
//   Bytes two = BuildEnsemble({VariableLeader(42), DataType{0x0100, Bytes(80, 1)}});
//   Bytes wave = BuildEnsemble({DataType{0x0103, Bytes(30)}}, kWavesId);
//   Bytes bad = WithBadChecksum(one);                       // also WithByteCount, Truncated
//   Bytes stream = Concat({one, Bytes(10, 0), two});
//   auto paths = WritePartChain(dir, "run", ".bin", PartNaming::Title,
//                               CutAt(stream, {100, 100, 250}));  // run_000001.bin ... (one empty part)
//
// Every ensemble gets correct offsets, a 24-bit byte count and its checksum;
// the damaged variants change only what their name says.
namespace ensemble_builder {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kEnsembleId = 0x7F;
constexpr std::uint8_t kWavesId = 0x79;
constexpr std::uint16_t kFixedLeaderId = 0x0000;
constexpr std::uint16_t kVariableLeaderId = 0x0080;
constexpr std::uint16_t kVelocityId = 0x0100;

// One data type: its id and the bytes that follow the id.
struct DataType {
    std::uint16_t id;
    Bytes payload;
};

// Header 0x7F + headerId, byte count, table, data types, checksum.
// Throws std::invalid_argument when an offset does not fit 16 bits.
Bytes BuildEnsemble(const std::vector<DataType>& types, std::uint8_t headerId = kEnsembleId);

// Variable leader of `size` bytes (id included) carrying a 24-bit number:
// bytes 2-3 bits 0-15, byte 11 bits 16-23.
DataType VariableLeader(std::uint32_t number, std::size_t size = 65);
// Data type of `size` bytes (id included) filled with a byte pattern.
DataType PatternType(std::uint16_t id, std::size_t size, std::uint8_t seed = 0);
// Fixed leader (59 bytes), variable leader with the number, velocity of `velocityBytes`.
Bytes TypicalEnsemble(std::uint32_t number, std::size_t velocityBytes = 162);

// Sum of all bytes but the last two, modulo 65536.
std::uint16_t Checksum(const Bytes& ensemble);
// Writes Checksum() into the last two bytes.
void StoreChecksum(Bytes& ensemble);

Bytes WithBadChecksum(Bytes ensemble);
// Rewrites the 24-bit byte count (bytes 2-4); the checksum is left as it was.
Bytes WithByteCount(Bytes ensemble, std::uint32_t byteCount);
Bytes Truncated(const Bytes& ensemble, std::size_t keep);

Bytes Concat(const std::vector<Bytes>& pieces);
// Typical ensembles numbered first..last, one after the other.
Bytes TypicalEnsembles(std::uint32_t first, std::uint32_t last, std::size_t velocityBytes = 162);
// Cuts at the given ascending offsets; equal offsets give empty parts.
std::vector<Bytes> CutAt(const Bytes& stream, const std::vector<std::size_t>& points);

enum class PartNaming {
    Title,     // stem_000001.ext, stem_000002.ext, ...
    Extension, // stem.001, stem.002, ... (ext is ignored)
};
// File name (no directory) of the part numbered `number`.
std::string PartName(const std::string& stem, const std::string& ext, PartNaming naming,
                     unsigned number);
// Writes the parts numbered from firstNumber on; returns their paths in order.
std::vector<std::string> WritePartChain(const TempDir& dir, const std::string& stem,
                                        const std::string& ext, PartNaming naming,
                                        const std::vector<Bytes>& parts, unsigned firstNumber = 1);

} // namespace ensemble_builder
