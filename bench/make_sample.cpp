// Writes a small recording for trying the suite: forty ensembles of a
// 20-cell, 4-beam profile with one waves packet, one gap in the numbering,
// one repeated number and one ensemble whose checksum is damaged.
// Usage: make_sample OUTPUT
#include "EnsembleBytes.h"

#include <cstdio>

namespace {

constexpr int kCells = 20;
constexpr int kBeams = 4;

bench::Bytes FixedLeader()
{
    bench::Bytes leader = bench::DataType(0x0000, 59);
    leader[2] = 16;   // firmware version
    leader[3] = 30;   // firmware revision
    leader[4] = 0x02; // 300 kHz, looking down
    leader[8] = kBeams;
    leader[9] = kCells;
    bench::PutU16(leader, 10, 1);   // water pings
    bench::PutU16(leader, 12, 100); // cell size, cm
    bench::PutU16(leader, 14, 88);  // blank, cm
    leader[16] = 1;                 // water mode
    return leader;
}

bench::Bytes VariableLeader(std::uint32_t number)
{
    bench::Bytes leader = bench::VariableLeader(number);
    const std::uint8_t clock[7] = {24, 5, 17, 12, static_cast<std::uint8_t>(number / 60),
                                   static_cast<std::uint8_t>(number % 60), 0};
    for (int i = 0; i < 7; ++i)
        leader[4 + i] = clock[i];
    return leader;
}

bench::Bytes Velocity(std::uint32_t number)
{
    bench::Bytes velocity = bench::DataType(0x0100, 2 + kCells * kBeams * 2);
    for (int i = 0; i < kCells * kBeams; ++i) {
        const int beam = i % kBeams;
        const int millimetresPerSecond = (beam < 2 ? 1 : -1) * (150 + 10 * (i / kBeams)) + static_cast<int>(number % 7);
        bench::PutU16(velocity, 2 + 2 * i, static_cast<unsigned>(millimetresPerSecond) & 0xFFFF);
    }
    return velocity;
}

bench::Bytes PerBeamBytes(std::uint16_t id, std::uint8_t first, int step)
{
    bench::Bytes type = bench::DataType(id, 2 + kCells * kBeams);
    for (int i = 0; i < kCells * kBeams; ++i)
        type[2 + i] = static_cast<std::uint8_t>(first - step * (i / kBeams));
    return type;
}

bench::Bytes BottomTrack()
{
    bench::Bytes bottom = bench::DataType(0x0600, 85);
    bench::PutU16(bottom, 2, 1); // bottom pings
    bottom[9] = 5;               // bottom mode
    return bottom;
}

bench::Bytes Profile(std::uint32_t number)
{
    return bench::Ensemble({FixedLeader(), VariableLeader(number), Velocity(number),
                            PerBeamBytes(0x0200, 120, 3), PerBeamBytes(0x0300, 160, 4),
                            PerBeamBytes(0x0400, 100, 1), BottomTrack()});
}

bench::Bytes WavesPacket()
{
    bench::Bytes first = bench::DataType(0x0103, 64);
    bench::PutU16(first, 7, 2048); // pings per burst
    first[60] = 1;                 // burst number
    bench::Bytes ping = bench::DataType(0x0203, 2 + 2 + kBeams * 2 * 8);
    bench::PutU16(ping, 2, 1); // packet number
    return bench::Ensemble({first, ping}, 0x79);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::fprintf(stderr, "Cannot create file %s.\n", argv[1]);
        return 1;
    }
    const std::uint32_t numbers[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21,
                                     22, 23, 24, 25, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};
    bool written = true;
    for (std::uint32_t number : numbers) {
        bench::Bytes ensemble = Profile(number);
        if (number == 30)
            ensemble.back() ^= 0x5A;
        written = written && std::fwrite(ensemble.data(), 1, ensemble.size(), out) == ensemble.size();
        if (number == 10) {
            bench::Bytes waves = WavesPacket();
            written = written && std::fwrite(waves.data(), 1, waves.size(), out) == waves.size();
        }
    }
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "Problems with writing to output file.\n");
        return 1;
    }
    return 0;
}
