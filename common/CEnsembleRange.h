#pragma once
#include <cstdint>
#include <string>

// The ensemble-number range of a converter or merger run. Start 0 means from
// the first ensemble, end 0 to the end of the input; all numbers compare as
// unsigned 32-bit values.
class CEnsembleRange {
public:
    enum class Step { Process, Skip, Stop };

    CEnsembleRange(std::uint32_t start, std::uint32_t end);

    // A range field's text read like a 32-bit atol (leading blanks and a sign
    // accepted, no digits gives 0, beyond the range the nearest limit), taken
    // as an unsigned 32-bit number.
    static std::uint32_t BoundFromText(const std::string& text);

    // What to do with the next ensemble read, numbered `number`. Once an
    // ensemble at or above the start was seen, a lower one is processed when
    // the end is 0 and stops the run otherwise.
    Step Classify(std::uint32_t number);

private:
    std::uint32_t m_nStart;
    std::uint32_t m_nEnd;
    bool m_bStarted = false;
};
