#pragma once
#include "COkCancelDialog.h"

#include <QString>

class QLineEdit;

// "Send Binary Command": one line of text, typed letters in upper case.
class CNbCmdDG : public COkCancelDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 132;
    static constexpr int kEditId = 1009;
    static constexpr int kLabelId = 1008;

    explicit CNbCmdDG(QWidget* parent = nullptr);
    ~CNbCmdDG() override;

    QString GetCommand() const { return m_strCommand; }

private:
    void OnOK() override;
    void UpperCaseTyped(const QString& text);

    QLineEdit* m_edit;
    QString m_strCommand;
};
