#include "CheckBuilders.h"

namespace check_builders {

using namespace ensemble_builder;

namespace {
// Puts a little-endian value at a byte offset of the data type (the id is bytes 0-1).
void Put(DataType& type, std::size_t offset, std::uint32_t value, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        type.payload[offset - 2 + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

DataType Zeroed(std::uint16_t id, std::size_t size)
{
    return DataType{id, Bytes(size - 2, 0)};
}
} // namespace

DataType FixedLeader(const FixedFields& fields)
{
    DataType leader = Zeroed(0x0000, 59);
    Put(leader, 2, fields.version, 1);
    Put(leader, 3, fields.revision, 1);
    Put(leader, 4, fields.system, 1);
    Put(leader, 9, fields.cells, 1);
    Put(leader, 10, fields.waterPings, 2);
    Put(leader, 12, fields.cellSize, 2);
    Put(leader, 14, fields.blank, 2);
    Put(leader, 16, fields.waterMode, 1);
    return leader;
}

DataType VarLeader(std::uint32_t number, std::uint16_t bit, const TimeBytes& time)
{
    DataType leader = Zeroed(0x0080, 65);
    Put(leader, 2, number & 0xFFFF, 2);
    Put(leader, 11, number >> 16, 1);
    for (std::size_t i = 0; i < time.size(); ++i)
        Put(leader, 4 + i, time[i], 1);
    Put(leader, 12, bit, 2);
    return leader;
}

DataType BottomTrack(std::uint16_t pings, std::uint8_t mode)
{
    DataType track = Zeroed(0x0600, 81);
    Put(track, 2, pings, 2);
    Put(track, 9, mode, 1);
    return track;
}

Bytes Ensemble(std::uint32_t number, std::uint8_t orientation, std::uint16_t bit)
{
    FixedFields fields;
    fields.system = static_cast<std::uint8_t>(orientation | 2);
    return BuildEnsemble({FixedLeader(fields), VarLeader(number, bit), PatternType(kVelocityId, 100)});
}

Bytes FirstLeaderPacket(std::uint32_t burst, std::uint16_t pings, const TimeBytes& time)
{
    DataType leader = Zeroed(0x0103, 70);
    Put(leader, 7, pings, 2);
    for (std::size_t i = 0; i < time.size(); ++i)
        Put(leader, 53 + i, time[i], 1);
    Put(leader, 60, burst, 4);
    return BuildEnsemble({leader}, kWavesId);
}

Bytes PingPacket(std::uint16_t packet)
{
    DataType ping = Zeroed(0x0203, 40);
    Put(ping, 2, packet, 2);
    return BuildEnsemble({ping}, kWavesId);
}

Bytes LastLeaderPacket()
{
    return BuildEnsemble({Zeroed(0x0303, 20)}, kWavesId);
}

} // namespace check_builders
