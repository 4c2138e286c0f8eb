#include "CNbCmdDG.h"

#include <QLabel>
#include <QLineEdit>

CNbCmdDG::CNbCmdDG(QWidget* parent)
    : COkCancelDialog(kDialogId, "Send Binary Command", parent), m_edit(new QLineEdit(this))
{
    auto* label = new QLabel("&Type The Command In The Edit Box  And Press OK.", this);
    label->setObjectName(QString::number(kLabelId));
    label->setBuddy(m_edit);
    m_edit->setObjectName(QString::number(kEditId));
    CreateOkCancel();
    LayOutFieldAboveButtons(label, m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, &CNbCmdDG::UpperCaseTyped);
}

CNbCmdDG::~CNbCmdDG() = default;

void CNbCmdDG::UpperCaseTyped(const QString& text)
{
    // One character at a time, so the text keeps its length and the cursor its place.
    QString upper = text;
    for (QChar& character : upper)
        character = character.toUpper();
    if (upper == text)
        return;
    const int cursor = m_edit->cursorPosition();
    m_edit->setText(upper);
    m_edit->setCursorPosition(cursor);
}

void CNbCmdDG::OnOK()
{
    m_strCommand = m_edit->text();
    accept();
}
