#pragma once
#include "IRecoverProgress.h"

#include <QDialog>

#include <chrono>
#include <cstdint>

class CElidedLabel;
class CSerialPort;
class QCheckBox;
class QLabel;
class QProgressBar;
class QTreeWidget;

// The modeless "Recover Data" window: directory, corrections, times, byte
// counts, the files recovered so far, "Disable Window Output" and Cancel.
// While it exists its parent (the main window) is disabled.
class CRecoverCancel : public QDialog, public IRecoverProgress {
    Q_OBJECT
public:
    CRecoverCancel(CSerialPort* port, QWidget* parent = nullptr);
    ~CRecoverCancel() override;

    // Disables the parent, shows the window and starts the clock.
    bool Create(QWidget* parent);

    void SetDirectory(const std::string& directory) override;
    void SetCorrections(int corrections) override;
    void SetTotalBytes(std::int64_t total) override;
    void StartFile(const std::string& name, std::int64_t size) override;
    void FileDone(const std::string& name, std::int64_t size) override;
    void UpdateProgress(std::int64_t fileBytes, std::int64_t batchBytes, std::int64_t elapsedSeconds,
                        std::int64_t remainingSeconds) override;
    void ShowComplete() override;
    void PostNoData() override;
    bool CheckCancel() override;
    bool IsShown() const override { return isVisible(); }

    // "%H:%M:%S" of a span, hours within the day.
    static QString FormatSpan(std::int64_t seconds);

    void OnCancel();
    void OnDisableWindowOutput();

protected:
    void reject() override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void EnableParent(bool enable);
    // A message box shown while the window is up goes beside it, not over it.
    void PlaceClearOfValues(QWidget* box) const;

    QTreeWidget* m_listFiles = nullptr;
    QCheckBox* m_checkDisableOutput = nullptr;
    CElidedLabel* m_hDirectory = nullptr;
    QLabel* m_hCorrections = nullptr;
    QLabel* m_hElapsed = nullptr;
    QLabel* m_hTimeToGo = nullptr;
    QLabel* m_hTotalBytes = nullptr;
    QLabel* m_hBytesSoFar = nullptr;
    QProgressBar* m_hTotalBar = nullptr;
    CElidedLabel* m_hFileName = nullptr;
    QLabel* m_hFileBytes = nullptr;
    QLabel* m_hFileSoFar = nullptr;
    QProgressBar* m_hFileBar = nullptr;
    bool m_bCancelled = false;
    std::chrono::steady_clock::time_point m_dwStartTick;
    int m_nTimerId = 0;
    CSerialPort* m_pPort;
    QWidget* m_pDisabledParent = nullptr;
};
