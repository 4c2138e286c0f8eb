#include "CNbCmdDG.h"

#include "Messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CNbCmdDG::CNbCmdDG(QWidget* parent) : QDialog(parent), m_edit(new QLineEdit(this))
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle("Send Binary Command");
    auto* label = new QLabel("&Type The Command In The Edit Box  And Press OK.", this);
    label->setObjectName(QString::number(kLabelId));
    label->setBuddy(m_edit);
    m_edit->setObjectName(QString::number(kEditId));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(QString::number(platform::IDOK));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(QString::number(platform::IDCANCEL));

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_edit, 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0);
    layout->addWidget(cancel, 2, 1);

    connect(m_edit, &QLineEdit::textEdited, this, &CNbCmdDG::UpperCaseTyped);
    connect(ok, &QPushButton::clicked, this, &CNbCmdDG::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CNbCmdDG::~CNbCmdDG() = default;

int CNbCmdDG::DoModal()
{
    return exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

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
