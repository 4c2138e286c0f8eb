#include "CPropertyPage.h"

#include <QComboBox>

CPropertyPage::CPropertyPage(int dialogId, const QString& caption) : m_caption(caption)
{
    setObjectName(QString::number(dialogId));
    setWindowTitle(caption);
}

void CPropertyPage::EnsureInitialised()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    OnInitDialog();
}

void CPropertyPage::SetModified(bool modified)
{
    emit ModifiedChanged(modified);
}

QComboBox* CPropertyPage::IdCombo(int id)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    return combo;
}
