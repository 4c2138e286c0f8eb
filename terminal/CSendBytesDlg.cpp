#include "CSendBytesDlg.h"

#include "Messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CSendBytesDlg::CSendBytesDlg(QWidget* parent) : QDialog(parent), m_edit(new QLineEdit(this))
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle("Send Bytes");
    m_edit->setObjectName(QString::number(kEditId));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(QString::number(platform::IDOK));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(QString::number(platform::IDCANCEL));
    auto* label = new QLabel("Type the bytes to send in HEX form:", this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_edit, 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0);
    layout->addWidget(cancel, 2, 1);
    setTabOrder(m_edit, ok);
    setTabOrder(ok, cancel);

    connect(ok, &QPushButton::clicked, this, &CSendBytesDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CSendBytesDlg::~CSendBytesDlg() = default;

int CSendBytesDlg::DoModal()
{
    return exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

void CSendBytesDlg::OnOK()
{
    m_strCommand = m_edit->text();
    accept();
}
