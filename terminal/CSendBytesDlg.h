#pragma once
#include <QDialog>
#include <QString>

class QLineEdit;

// "Send Bytes": bytes written as hexadecimal text.
class CSendBytesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 7002;
    static constexpr int kEditId = 1004;

    explicit CSendBytesDlg(QWidget* parent = nullptr);
    ~CSendBytesDlg() override;

    int DoModal();
    QString GetCommand() const { return m_strCommand; }

private:
    void OnOK();

    QLineEdit* m_edit;
    QString m_strCommand;
};
