#include "RunningByteSums.h"

namespace {
// Dropping the front of the stretch moves the rest: only when it pays.
constexpr std::uint64_t kDropAtLeast = 1024 * 1024;
} // namespace

void RunningByteSums::Reset()
{
    m_sums.clear();
    m_nBase = 0;
}

void RunningByteSums::DropSumsBefore(std::uint64_t start)
{
    const std::uint64_t dead = start - m_nBase;
    if (dead < kDropAtLeast || dead < m_sums.size() / 2)
        return;
    m_sums.erase(m_sums.begin(), m_sums.begin() + static_cast<std::ptrdiff_t>(dead));
    m_nBase = start;
}

std::uint16_t RunningByteSums::Sum(std::uint64_t start, const std::uint8_t* bytes, std::uint32_t count)
{
    // A range that begins past the stretch starts a new one.
    if (m_sums.empty() || start < m_nBase || start - m_nBase >= m_sums.size()) {
        m_nBase = start;
        m_sums.assign(1, 0);
    }
    DropSumsBefore(start);
    const std::uint64_t first = start - m_nBase;
    const std::uint64_t end = first + count;
    const std::uint64_t have = m_sums.size() - 1;
    if (end > have) {
        m_sums.resize(end + 1);
        std::uint16_t sum = m_sums[have];
        const std::uint8_t* byte = bytes + (have - first);
        for (std::uint64_t k = have; k < end; ++k) {
            sum = static_cast<std::uint16_t>(sum + *byte++);
            m_sums[k + 1] = sum;
        }
    }
    return static_cast<std::uint16_t>(m_sums[end] - m_sums[first]);
}
