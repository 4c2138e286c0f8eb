#include "CYModemDisplay.h"

#include "IYModemPort.h"
#include "IRecoverProgress.h"

#include <chrono>

namespace {
// Milliseconds to whole seconds, half a second and more rounding up.
std::int64_t RoundedSeconds(std::uint64_t milliseconds)
{
    return static_cast<std::int64_t>(milliseconds / 1000 + (milliseconds % 1000 >= 500 ? 1 : 0));
}
} // namespace

CYModemDisplay::CYModemDisplay(IYModemPort* port, std::string downloadDir, std::int64_t expectedTotal,
                               IRecoverProgress* cancelDlg)
    : CYModem(port, std::move(downloadDir)), m_pCancelDlg(cancelDlg), m_nExpectedTotal(expectedTotal)
{
}

std::uint64_t CYModemDisplay::TickCount()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool CYModemDisplay::Begin()
{
    m_dwStartTick = TickCount();
    m_pCancelDlg->SetDirectory(m_strDownloadDir);
    CYModem::Begin();
    m_pCancelDlg->SetCorrections(0);
    m_pCancelDlg->SetTotalBytes(m_nExpectedTotal);
    if (m_nExpectedTotal == 0) {
        m_pCancelDlg->PostNoData();
        return false;
    }
    return true;
}

HRESULT CYModemDisplay::OnFileHeader()
{
    HRESULT result = CYModem::OnFileHeader();
    if (result != 0)
        return result;
    m_pCancelDlg->StartFile(m_strFileName, m_nFileSize);
    if (m_nFileSize > m_nExpectedTotal) {
        m_nExpectedTotal = m_nFileSize;
        m_pCancelDlg->SetTotalBytes(m_nExpectedTotal);
    }
    return result;
}

HRESULT CYModemDisplay::WriteData()
{
    HRESULT result = CYModem::WriteData();
    const std::uint64_t elapsed = TickCount() - m_dwStartTick;
    std::uint64_t remaining = 0;
    const std::int64_t due = m_nExpectedTotal - m_nTotalReceived;
    if (m_nTotalReceived != 0 && m_nExpectedTotal != 0 && due > 0) {
        // In 128 bits: a long transfer of a large announced total overflows 64.
        const auto total = static_cast<unsigned __int128>(m_nTotalReceived);
        const unsigned __int128 rounded = (static_cast<unsigned __int128>(elapsed) * due + total / 2) / total;
        remaining = rounded > UINT64_MAX ? UINT64_MAX : static_cast<std::uint64_t>(rounded);
    }
    m_pCancelDlg->UpdateProgress(m_nFileWritten, m_nTotalReceived, RoundedSeconds(elapsed),
                                 RoundedSeconds(remaining));
    return result;
}

void CYModemDisplay::CloseFile()
{
    m_pCancelDlg->FileDone(m_strFileName, m_nFileWritten);
    CYModem::CloseFile();
}

void CYModemDisplay::OnComplete()
{
    m_pCancelDlg->ShowComplete();
}

void CYModemDisplay::SendNak()
{
    CYModem::SendNak();
    ++m_nCorrections;
    m_pCancelDlg->SetCorrections(m_nCorrections);
}

bool CYModemDisplay::IsCancelled()
{
    if (!m_pCancelDlg->IsShown())
        return true;
    return !m_pCancelDlg->CheckCancel();
}
