#pragma once
#include <cstdint>
#include <vector>

// Running sums (modulo 65,536) over a stretch of a byte stream, so the
// checksum of any range inside the stretch costs two lookups instead of a
// pass over its bytes. The stretch grows forward as ranges ask for it.
class RunningByteSums {
public:
    // Sum of the `count` bytes at stream position `start`; `bytes` points at
    // the first of them. Ranges must not start before an earlier range did.
    std::uint16_t Sum(std::uint64_t start, const std::uint8_t* bytes, std::uint32_t count);
    void Reset();

private:
    // Forgets the sums before `start` once they are most of the stretch.
    void DropSumsBefore(std::uint64_t start);

    std::uint64_t m_nBase = 0;       // stream position that m_sums[0] stands for
    std::vector<std::uint16_t> m_sums; // m_sums[k]: sum of the k bytes from m_nBase on
};
