#pragma once
#include "COkCancelDialog.h"

#include <QPointer>
#include <QString>

class CParlimDoc;
class QComboBox;

// "Command History": pick an earlier command or type a new one; on OK it
// becomes the connection's one-line script.
class CCmdHistDG : public COkCancelDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 138;
    static constexpr int kComboId = 1016;
    static constexpr int kLabelId = 1017;

    CCmdHistDG(CParlimDoc* document, QWidget* parent = nullptr);
    ~CCmdHistDG() override;

    QString GetCommand() const { return m_strCommand; }

private:
    void OnInitDialog();
    void OnOK() override;

    QComboBox* m_combo;
    QString m_strCommand;
    QPointer<CParlimDoc> m_pDoc;
};
