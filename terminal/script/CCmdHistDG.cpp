#include "CCmdHistDG.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

CCmdHistDG::CCmdHistDG(const std::list<std::string>& history, QWidget* parent)
    : COkCancelDialog(kDialogId, "Command History", parent), m_combo(new QComboBox(this))
{
    auto* label = new QLabel("&Enter A Command", this);
    label->setObjectName(QString::number(kLabelId));
    label->setBuddy(m_combo);
    m_combo->setObjectName(QString::number(kComboId));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // An inline completer takes the selected newest entry for a completion
    // and would swallow the first Enter; Enter must run the command at once.
    m_combo->setCompleter(nullptr);
    CreateOkCancel();
    LayOutFieldAboveButtons(label, m_combo);
    OnInitDialog(history);
}

CCmdHistDG::~CCmdHistDG() = default;

void CCmdHistDG::OnInitDialog(const std::list<std::string>& history)
{
    for (const std::string& command : history)
        m_combo->addItem(QString::fromStdString(command));
    if (m_combo->count() == 0)
        return;
    // The newest entry, wholly selected so that typing replaces it.
    m_combo->setCurrentIndex(m_combo->count() - 1);
    m_combo->lineEdit()->selectAll();
}

void CCmdHistDG::OnOK()
{
    m_strCommand = m_combo->currentText();
    accept();
}
