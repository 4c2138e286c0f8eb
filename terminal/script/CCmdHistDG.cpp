#include "CCmdHistDG.h"

#include "CParlimDoc.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

CCmdHistDG::CCmdHistDG(CParlimDoc* document, QWidget* parent)
    : COkCancelDialog(kDialogId, "Command History", parent), m_combo(new QComboBox(this)), m_pDoc(document)
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
    OnInitDialog();
}

CCmdHistDG::~CCmdHistDG() = default;

void CCmdHistDG::OnInitDialog()
{
    if (!m_pDoc)
        return;
    for (const std::string& command : m_pDoc->GetCommandHistory())
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
    if (m_pDoc) {
        m_pDoc->SetScriptLine(m_strCommand.toStdString() + "\r\n");
        m_pDoc->m_bScriptRunning = true;
    }
    accept();
}
