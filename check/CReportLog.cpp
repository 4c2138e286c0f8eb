#include "CReportLog.h"

#include "RunFiles.h"

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
} // namespace

CReportLog::~CReportLog()
{
    Close();
}

bool CReportLog::Create(const std::string& name)
{
    m_buffer.clear();
    m_bWriteFailed = false;
    return CreateRunOutput(m_file, name);
}

void CReportLog::Write(const std::string& text)
{
    m_buffer += text;
    if (m_buffer.size() >= kBlockSize)
        Flush();
}

bool CReportLog::Close()
{
    if (m_file.IsOpen()) {
        Flush();
        // A file system may report a failed write only on closing.
        if (FAILED(m_file.CloseChecked()))
            m_bWriteFailed = true;
    }
    return !m_bWriteFailed;
}

void CReportLog::Flush()
{
    if (m_buffer.empty())
        return;
    std::uint32_t written = 0;
    const HRESULT result = m_file.Write(m_buffer.data(), static_cast<std::uint32_t>(m_buffer.size()), &written);
    if (FAILED(result) || written != m_buffer.size())
        m_bWriteFailed = true;
    m_buffer.clear();
}
