#include "CTextLineReader.h"

#include "CBaseFile.h"
#include "TextLineLimit.h"

#include <cstdint>

namespace {
constexpr std::size_t kChunkBytes = 64 * 1024;
}

CTextLineReader::CTextLineReader(CBaseFile& file)
    : m_file(file), m_splitter(kMaxTextLineBytes), m_buffer(kChunkBytes)
{
}

bool CTextLineReader::ReadLine(std::string& line)
{
    line.clear();
    m_lineTooLong = false;
    m_lineEnded = true;
    for (;;) {
        const CTextLineSplitter::Result result = m_splitter.Next(line);
        if (result != CTextLineSplitter::Result::NeedMore) {
            m_lineTooLong = result == CTextLineSplitter::Result::TooLong;
            return !m_lineTooLong;
        }
        if (m_atEnd || FAILED(m_hrReadError))
            return false;
        ReadChunk();
        if (m_atEnd && m_splitter.TakeLast(line)) {
            m_lineEnded = false;
            return true;
        }
    }
}

void CTextLineReader::ReadChunk()
{
    std::uint32_t count = 0;
    m_hrReadError = m_file.Read(m_buffer.data(), static_cast<std::uint32_t>(m_buffer.size()), &count);
    // The bytes before a failure are used: their whole lines come first.
    m_splitter.Feed({m_buffer.data(), count});
    m_atEnd = SUCCEEDED(m_hrReadError) && count == 0;
}
