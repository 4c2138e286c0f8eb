#include "CSendBytesDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CSendBytesDlg::CSendBytesDlg(QWidget* parent)
    : COkCancelDialog(kDialogId, "Send Bytes", parent), m_edit(new QLineEdit(this))
{
    m_edit->setObjectName(QString::number(kEditId));
    CreateOkCancel();
    auto* label = new QLabel("Type the bytes to send in HEX form:", this);
    LayOutFieldAboveButtons(label, m_edit);
    setTabOrder(m_edit, m_ok);
    setTabOrder(m_ok, m_cancel);
}

CSendBytesDlg::~CSendBytesDlg() = default;

void CSendBytesDlg::OnOK()
{
    m_strCommand = m_edit->text();
    accept();
}
