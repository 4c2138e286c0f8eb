#pragma once
#include "COkCancelDialog.h"

#include <QString>

#include <list>
#include <string>

class QComboBox;

// "Command History": pick an earlier command or type a new one, which the
// caller runs as the connection's one-line script.
class CCmdHistDG : public COkCancelDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 138;
    static constexpr int kComboId = 1016;
    static constexpr int kLabelId = 1017;

    explicit CCmdHistDG(const std::list<std::string>& history, QWidget* parent = nullptr);
    ~CCmdHistDG() override;

    QString GetCommand() const { return m_strCommand; }

private:
    void OnInitDialog(const std::list<std::string>& history);
    void OnOK() override;

    QComboBox* m_combo;
    QString m_strCommand;
};
