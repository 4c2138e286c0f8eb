#pragma once
#include <QDialog>
#include <QString>

class QPushButton;

// A dialog closed by OK or Cancel, run modally for IDOK or IDCANCEL. The
// buttons are made where a dialog calls CreateOkCancel, so that each dialog
// keeps its own tab order.
class COkCancelDialog : public QDialog {
    Q_OBJECT
public:
    ~COkCancelDialog() override;

    int DoModal();

protected:
    COkCancelDialog(int dialogId, const QString& title, QWidget* parent);

    // OK is the default button and runs OnOK; Cancel rejects.
    void CreateOkCancel();
    // The label above the field, both across the OK and Cancel row below.
    void LayOutFieldAboveButtons(QWidget* label, QWidget* field);
    virtual void OnOK() = 0;

    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
