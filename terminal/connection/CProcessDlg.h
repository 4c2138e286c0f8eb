#pragma once
#include "CInstrumentDetector.h"

#include <QDialog>
#include <QPointer>

class QCloseEvent;
class QLabel;

// "Please Wait: Checking ...": the modeless dialog of an instrument search.
// It shows the rate being tried, offers Cancel, and keeps its owner window
// disabled while it is shown.
class CProcessDlg : public QDialog, public IDetectProgress {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Please Wait: Checking ...";

    CProcessDlg();
    ~CProcessDlg() override;

    // Disables the owner (may be none) and shows the dialog over it.
    void Create(QWidget* owner);

    void SetMessage(const std::string& text) override;
    bool CheckCancel() override;
    void Close() override;

    void OnCancel();

    bool m_bCancelled = false;
    QPointer<QWidget> m_pOwnerWnd;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void EnableOwners();

    QLabel* m_message;
};
