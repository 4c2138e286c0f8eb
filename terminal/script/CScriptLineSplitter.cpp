#include "CScriptLineSplitter.h"

namespace {
constexpr const char* kLineEnd = "\r\n";
}

CScriptLineSplitter::CScriptLineSplitter(std::list<std::string>& lines, std::size_t maxLength)
    : m_lines(lines), m_nMaxLength(maxLength)
{
}

CScriptLineSplitter::Outcome CScriptLineSplitter::Take(char byte)
{
    if (byte == '\0')
        return Outcome::More;
    const bool pairedLineFeed = m_bAfterCarriageReturn && byte == '\n';
    m_bAfterCarriageReturn = byte == '\r';
    if (pairedLineFeed)
        return Outcome::More;
    if (byte == '\r' || byte == '\n')
        return EndLine(true);
    if (m_bInComment)
        return Outcome::More;
    if (m_line.empty() && byte == ';') {
        // Dropped whole, however long it is.
        m_bInComment = true;
        return Outcome::More;
    }
    m_line += byte;
    if (m_line == "$R" || m_line == "$r") {
        m_lines.push_back(m_line);
        return Outcome::Repeat;
    }
    return m_line.size() > m_nMaxLength ? Outcome::TooLong : Outcome::More;
}

CScriptLineSplitter::Outcome CScriptLineSplitter::Finish()
{
    return EndLine(false);
}

CScriptLineSplitter::Outcome CScriptLineSplitter::EndLine(bool lineEnd)
{
    if (m_bInComment) {
        m_bInComment = false;
        return Outcome::More;
    }
    if (lineEnd)
        m_line += kLineEnd;
    if (m_line.size() > m_nMaxLength)
        return Outcome::TooLong;
    if (!m_line.empty())
        m_lines.push_back(m_line);
    m_line.clear();
    return Outcome::More;
}
