#pragma once
#include "CYModem.h"

#include <cstdint>

class IRecoverProgress;

// The receiver of a recovery: reports files, progress, times and
// corrections to the progress window and learns from it about Cancel.
class CYModemDisplay : public CYModem {
public:
    CYModemDisplay(IYModemPort* port, std::string downloadDir, std::int64_t expectedTotal,
                   IRecoverProgress* cancelDlg);

protected:
    bool Begin() override;
    HRESULT OnFileHeader() override;
    HRESULT WriteData() override;
    void CloseFile() override;
    void OnComplete() override;
    void SendNak() override;
    bool IsCancelled() override;

private:
    static std::uint64_t TickCount();

    IRecoverProgress* m_pCancelDlg;
    std::uint64_t m_dwStartTick = 0;
    int m_nCorrections = 0;
    // -1: not given; 0: nothing to receive.
    std::int64_t m_nExpectedTotal;
};
