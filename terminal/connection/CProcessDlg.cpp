#include "CProcessDlg.h"

#include "MessagePump.h"
#include "Messages.h"
#include "resource.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace parlim;

CProcessDlg::CProcessDlg() : m_message(new QLabel(this))
{
    setObjectName(QString::number(IDD_PROCESS));
    setWindowTitle(kCaption);
    setModal(false);
    m_message->setObjectName(QString::number(IDC_PROCESS_MESSAGE));
    m_message->setMinimumWidth(220);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName(QString::number(platform::IDCANCEL));
    connect(cancel, &QPushButton::clicked, this, &CProcessDlg::OnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
}

CProcessDlg::~CProcessDlg()
{
    EnableOwners();
}

void CProcessDlg::Create(QWidget* owner)
{
    m_pOwnerWnd = owner;
    if (owner) {
        owner->setEnabled(false);
        // Created after the owner is disabled, the dialog itself stays enabled.
        setParent(owner, windowFlags() | Qt::Dialog);
    }
    show();
    if (owner)
        move(owner->mapToGlobal(owner->rect().center()) - rect().center());
}

void CProcessDlg::SetMessage(const std::string& text)
{
    m_message->setText(QString::fromStdString(text));
}

bool CProcessDlg::CheckCancel()
{
    if (m_bCancelled)
        return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !m_bCancelled && !platform::IsClosing();
}

void CProcessDlg::Close()
{
    EnableOwners();
    hide();
}

void CProcessDlg::OnCancel()
{
    m_bCancelled = true;
    // The owner's window takes the input back at once, before the detection unwinds.
    if (m_pOwnerWnd)
        m_pOwnerWnd->window()->setEnabled(true);
    hide();
}

void CProcessDlg::reject()
{
    OnCancel();
}

void CProcessDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    OnCancel();
}

void CProcessDlg::EnableOwners()
{
    if (QWidget* parent = parentWidget())
        parent->setEnabled(true);
    if (m_pOwnerWnd)
        m_pOwnerWnd->setEnabled(true);
}
