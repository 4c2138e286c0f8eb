#include "CAsciiLineReader.h"

#include "TextLineLimit.h"

#include <algorithm>

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
}

CAsciiLineReader::CAsciiLineReader(CBaseFile& file)
    : m_file(file), m_buffer(kBufferSize)
{
}

bool CAsciiLineReader::Refill()
{
    if (m_atEnd)
        return false;
    std::uint32_t count = 0;
    m_hrReadError = m_file.Read(m_buffer.data(), static_cast<std::uint32_t>(m_buffer.size()), &count);
    if (FAILED(m_hrReadError) || count == 0) {
        m_atEnd = true;
        return false;
    }
    m_next = 0;
    m_end = count;
    return true;
}

void CAsciiLineReader::SkipPendingLineFeed()
{
    if (!m_afterCarriageReturn)
        return;
    if (m_next == m_end && !Refill())
        return;
    m_afterCarriageReturn = false;
    if (m_buffer[m_next] == kLineFeed)
        ++m_next;
}

bool CAsciiLineReader::ReadLine(std::string& line)
{
    line.clear();
    SkipPendingLineFeed();
    bool readAnything = false;
    for (;;) {
        if (m_next == m_end && !Refill())
            return readAnything;
        readAnything = true;
        const char* begin = m_buffer.data() + m_next;
        const char* end = m_buffer.data() + m_end;
        const char* stop = std::find_if(begin, end, [](char c) {
            return c == kCarriageReturn || c == kLineFeed;
        });
        line.append(begin, stop);
        if (line.size() > kMaxTextLineBytes) {
            line.clear();
            m_bLineTooLong = true;
            m_atEnd = true;
            m_next = m_end;
            return false;
        }
        m_next = static_cast<std::size_t>(stop - m_buffer.data());
        if (stop != end) {
            m_afterCarriageReturn = *stop == kCarriageReturn;
            ++m_next;
            return true;
        }
    }
}
