#pragma once
#include "EnsembleBuilder.h"

#include <array>
#include <cstdint>

// Ensembles and waves packets with the fields the checker reads.
namespace check_builders {

using ensemble_builder::Bytes;
using ensemble_builder::DataType;

constexpr std::uint8_t kUp = 0x80;
constexpr std::uint8_t kDown = 0x00;
using TimeBytes = std::array<std::uint8_t, 7>;

struct FixedFields {
    std::uint8_t version = 16;
    std::uint8_t revision = 30;
    std::uint8_t system = kUp | 2; // 300 kHz, looking up
    std::uint8_t cells = 30;
    std::uint16_t waterPings = 45;
    std::uint16_t cellSize = 100;
    std::uint16_t blank = 176;
    std::uint8_t waterMode = 1;
};

// Fixed leader of 59 bytes.
DataType FixedLeader(const FixedFields& fields = {});
// Variable leader of 65 bytes with number, date/time bytes 4-10 and BIT word 12-13.
DataType VarLeader(std::uint32_t number, std::uint16_t bit = 0, const TimeBytes& time = {});
// Bottom track of 81 bytes with BP (bytes 2-3) and BM (byte 9).
DataType BottomTrack(std::uint16_t pings, std::uint8_t mode);

// Fixed leader looking the given way, variable leader, 100 bytes of velocity.
Bytes Ensemble(std::uint32_t number, std::uint8_t orientation = kUp, std::uint16_t bit = 0);
// Waves first leader of 70 bytes: pings per burst (7-8), start time (53-59), burst number (60-63).
Bytes FirstLeaderPacket(std::uint32_t burst, std::uint16_t pings, const TimeBytes& time = {});
// Waves ping record of 40 bytes with its packet number (2-3).
Bytes PingPacket(std::uint16_t packet);
// Waves last leader of 20 bytes.
Bytes LastLeaderPacket();

} // namespace check_builders
