#include "COkCancelDialog.h"

#include "Messages.h"

#include <QGridLayout>
#include <QPushButton>

COkCancelDialog::COkCancelDialog(int dialogId, const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(dialogId));
    setWindowTitle(title);
}

COkCancelDialog::~COkCancelDialog() = default;

int COkCancelDialog::DoModal()
{
    return exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

void COkCancelDialog::CreateOkCancel()
{
    m_ok = new QPushButton("OK", this);
    m_ok->setObjectName(QString::number(platform::IDOK));
    m_ok->setDefault(true);
    m_cancel = new QPushButton("Cancel", this);
    m_cancel->setObjectName(QString::number(platform::IDCANCEL));
    connect(m_ok, &QPushButton::clicked, this, &COkCancelDialog::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void COkCancelDialog::LayOutFieldAboveButtons(QWidget* label, QWidget* field)
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(field, 1, 0, 1, 2);
    layout->addWidget(m_ok, 2, 0);
    layout->addWidget(m_cancel, 2, 1);
}
