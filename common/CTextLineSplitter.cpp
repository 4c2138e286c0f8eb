#include "CTextLineSplitter.h"

#include <algorithm>

namespace {
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr std::string_view kLineEnds = "\r\n";
}

CTextLineSplitter::CTextLineSplitter(std::size_t maxLineBytes) : m_maxLineBytes(maxLineBytes) {}

void CTextLineSplitter::Feed(std::string_view bytes)
{
    m_rest = bytes;
}

CTextLineSplitter::Result CTextLineSplitter::Next(std::string& line)
{
    for (;;) {
        SkipPairedLineFeed();
        if (m_rest.empty())
            return Result::NeedMore;
        const std::size_t stop = m_rest.find_first_of(kLineEnds);
        const bool ended = stop != std::string_view::npos;
        Keep(m_rest.substr(0, stop));
        if (ended)
            m_afterCarriageReturn = m_rest[stop] == kCarriageReturn;
        m_rest.remove_prefix(ended ? stop + 1 : m_rest.size());
        if (!m_skippingLongLine && m_line.size() > m_maxLineBytes) {
            m_skippingLongLine = !ended;
            return Deliver(line, Result::TooLong);
        }
        if (ended && m_skippingLongLine)
            m_skippingLongLine = false;
        else if (ended)
            return Deliver(line, Result::Line);
    }
}

bool CTextLineSplitter::TakeLast(std::string& line)
{
    if (m_skippingLongLine || m_line.empty())
        return false;
    Deliver(line, Result::Line);
    return true;
}

void CTextLineSplitter::SkipPairedLineFeed()
{
    if (!m_afterCarriageReturn || m_rest.empty())
        return;
    m_afterCarriageReturn = false;
    if (m_rest.front() == kLineFeed)
        m_rest.remove_prefix(1);
}

void CTextLineSplitter::Keep(std::string_view piece)
{
    if (m_skippingLongLine)
        return;
    // One byte past the bound tells the line is too long.
    const std::size_t room = m_maxLineBytes + 1 - std::min(m_line.size(), m_maxLineBytes + 1);
    m_line.append(piece.substr(0, room));
}

CTextLineSplitter::Result CTextLineSplitter::Deliver(std::string& line, Result result)
{
    line.swap(m_line);
    m_line.clear();
    return result;
}
