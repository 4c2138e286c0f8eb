#pragma once
#include "COkCancelDialog.h"

#include <QString>

class QLineEdit;

// "Send Bytes": bytes written as hexadecimal text.
class CSendBytesDlg : public COkCancelDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 7002;
    static constexpr int kEditId = 1004;

    explicit CSendBytesDlg(QWidget* parent = nullptr);
    ~CSendBytesDlg() override;

    QString GetCommand() const { return m_strCommand; }

private:
    void OnOK() override;

    QLineEdit* m_edit;
    QString m_strCommand;
};
