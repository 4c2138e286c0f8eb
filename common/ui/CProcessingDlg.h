#pragma once
#include "IProgress.h"

#include <QDialog>

#include <chrono>
#include <cstdint>

class QProgressBar;

// The modeless "Please Wait: Processing ..." window of a run: progress bar
// (control 1008) and Cancel (control 2). It disables the main dialog while it
// is up; Pump answers false after Cancel, closing the window or a quit.
class CProcessingDlg : public QDialog, public IProgress {
    Q_OBJECT
public:
    // Constructed without a parent; Create names the window it disables.
    CProcessingDlg();
    ~CProcessingDlg() override;

    // Disables mainWindow (may be null) and shows the window; false on failure.
    bool Create(QWidget* mainWindow);

    void SetRange(std::uint64_t upper) override;
    void SetPos(std::uint64_t position) override;
    // Dispatches waiting events (at most every few milliseconds); false once
    // cancelled, closed or quit.
    bool Pump() override;

    bool IsCancelled() const { return m_bCancelled; }
    // Cancelled, closed or quit: the work stopped before its end.
    bool IsStopped() const { return m_bCancelled || m_bQuit; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCancel();
    void Dismiss();

    QProgressBar* m_progress;
    QWidget* m_mainWindow = nullptr;
    bool m_bCancelled = false;
    bool m_bQuit = false;
    int m_nShift = 0;
    std::uint64_t m_nPosition = 0;
    unsigned m_nCallsSinceClock = 0;
    std::chrono::steady_clock::time_point m_lastDispatch{};
};
