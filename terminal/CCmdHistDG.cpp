#include "CCmdHistDG.h"

#include "CParlimDoc.h"
#include "Messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CCmdHistDG::CCmdHistDG(CParlimDoc* document, QWidget* parent)
    : QDialog(parent), m_combo(new QComboBox(this)), m_pDoc(document)
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle("Command History");
    auto* label = new QLabel("&Enter A Command", this);
    label->setObjectName(QString::number(kLabelId));
    label->setBuddy(m_combo);
    m_combo->setObjectName(QString::number(kComboId));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(QString::number(platform::IDOK));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(QString::number(platform::IDCANCEL));

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_combo, 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0);
    layout->addWidget(cancel, 2, 1);

    connect(ok, &QPushButton::clicked, this, &CCmdHistDG::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

CCmdHistDG::~CCmdHistDG() = default;

int CCmdHistDG::DoModal()
{
    return exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

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
