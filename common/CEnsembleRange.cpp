#include "CEnsembleRange.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

CEnsembleRange::CEnsembleRange(std::uint32_t start, std::uint32_t end)
    : m_nStart(start), m_nEnd(end)
{
}

std::uint32_t CEnsembleRange::BoundFromText(const std::string& text)
{
    // Read like atol with a 32-bit long: past that range the nearest limit.
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    const long long atolValue = std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(atolValue);
}

CEnsembleRange::Step CEnsembleRange::Classify(std::uint32_t number)
{
    if (m_nStart != 0 && number < m_nStart) {
        if (!m_bStarted)
            return Step::Skip;
        return m_nEnd != 0 ? Step::Stop : Step::Process;
    }
    m_bStarted = true;
    if (m_nEnd != 0 && number > m_nEnd)
        return Step::Stop;
    return Step::Process;
}
