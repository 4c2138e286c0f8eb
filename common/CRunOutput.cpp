#include "CRunOutput.h"

#include "Format.h"
#include "Messages.h"
#include "RunFiles.h"
#include "UtilityTexts.h"

namespace {
constexpr std::size_t kWriteBlock = 128 * 1024;
// Follows the write-failure sentence: the output and the system's reason.
constexpr const char* kWriteFailureDetail = " %s: %s.";
} // namespace

bool CRunOutput::Create(const std::string& name, const std::string& writtenBefore)
{
    m_strName = name;
    m_pending.clear();
    m_hrFailure = S_OK;
    return CreateRunOutput(m_file, name, writtenBefore);
}

std::uint8_t* CRunOutput::Append(const void* bytes, std::size_t count)
{
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    m_pending.insert(m_pending.end(), first, first + count);
    return m_pending.data() + m_pending.size() - count;
}

void CRunOutput::DropLast(std::size_t count)
{
    m_pending.resize(m_pending.size() - count);
}

bool CRunOutput::FlushWhenFull()
{
    return m_pending.size() < kWriteBlock ? SUCCEEDED(m_hrFailure) : Flush();
}

bool CRunOutput::AddText(const std::string& text)
{
    Append(text.data(), text.size());
    return FlushWhenFull();
}

bool CRunOutput::Write(const void* bytes, std::uint32_t count)
{
    return Flush() && WriteNow(bytes, count);
}

bool CRunOutput::Flush()
{
    const bool written = WriteNow(m_pending.data(), static_cast<std::uint32_t>(m_pending.size()));
    m_pending.clear();
    return written;
}

bool CRunOutput::WriteNow(const void* bytes, std::uint32_t count)
{
    if (SUCCEEDED(m_hrFailure) && count != 0)
        Fail(m_file.Write(bytes, count));
    return SUCCEEDED(m_hrFailure);
}

bool CRunOutput::Finish()
{
    if (m_file.IsOpen()) {
        Flush();
        // A file system may report a failed write only on closing.
        Fail(m_file.CloseChecked());
    }
    if (SUCCEEDED(m_hrFailure))
        return true;
    platform::ShowMessage(std::string(utility_text::kMsgWriteFailed)
                          + platform::Format(kWriteFailureDetail, m_strName.c_str(),
                                             FailureReason(m_hrFailure).c_str()));
    m_hrFailure = S_OK;
    return false;
}

void CRunOutput::Fail(HRESULT failure)
{
    if (SUCCEEDED(m_hrFailure))
        m_hrFailure = failure;
}
