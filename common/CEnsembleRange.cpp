#include "CEnsembleRange.h"

#include <cstdlib>

CEnsembleRange::CEnsembleRange(std::uint32_t start, std::uint32_t end)
    : m_nStart(start), m_nEnd(end)
{
}

std::uint32_t CEnsembleRange::BoundFromText(const std::string& text)
{
    return static_cast<std::uint32_t>(std::strtol(text.c_str(), nullptr, 10));
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
