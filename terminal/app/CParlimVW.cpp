#include "CParlimVW.h"

#include "CCmdUI.h"
#include "CLogWnd.h"
#include "CParlimDoc.h"
#include "IConnectionFrame.h"
#include "resource.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

using namespace parlim;

namespace {

// The characters a Windows keyboard gives for the key: Delete gives none,
// Ctrl+Enter a line feed and Ctrl+Backspace DEL.
QString TypedText(const QKeyEvent& event)
{
    const bool control = event.modifiers() & Qt::ControlModifier;
    switch (event.key()) {
    case Qt::Key_Delete: return {};
    case Qt::Key_Return:
    case Qt::Key_Enter: return control ? QStringLiteral("\n") : QStringLiteral("\r");
    case Qt::Key_Backspace: return control ? QStringLiteral("\x7f") : QStringLiteral("\b");
    default: return event.text();
    }
}

} // namespace

CParlimVW::CParlimVW(CParlimDoc* document, IConnectionFrame* frame, QWidget* parent)
    : QWidget(parent), m_pLogWnd(new CLogWnd(QString(), kWrapColumn, kMaxLines, true, this)),
      m_pDocument(document), m_pFrame(frame)
{
    m_pLogWnd->setObjectName("1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pLogWnd);
    setFocusProxy(m_pLogWnd);

    m_commands.Add(ID_EDIT_COPY, [this] { OnEditCopy(); }, [this](CCmdUI& ui) { OnUpdateEditCopy(ui); });
    m_commands.Add(ID_DEFAULT_HELP, [] {});
}

CParlimVW::~CParlimVW() = default;

void CParlimVW::keyPressEvent(QKeyEvent* event)
{
    const QString text = TypedText(*event);
    for (QChar character : text) {
        char16_t code = character.unicode();
        if (code >= 1 && code <= 127)
            OnChar(static_cast<char>(code));
    }
    event->accept();
}

void CParlimVW::keyReleaseEvent(QKeyEvent* event)
{
    // Releasing Up opens the command history; a held key does not repeat it.
    if (event->key() == Qt::Key_Up && !event->isAutoRepeat()) {
        if (m_pFrame)
            m_pFrame->PostCommand(m_pDocument, ID_TRANSFER_COMMAND_HISTORY);
    }
    QWidget::keyReleaseEvent(event);
}

void CParlimVW::OnChar(char ch)
{
    if (m_pDocument)
        m_pDocument->SendKey(ch);
}

QMenu* CParlimVW::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(IDR_TERMINAL_CONTEXT));
    auto addItem = [this, menu](int id, const char* text) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::number(id));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        // Each item shows as its connection's update rule says (Copy needs a selection).
        if (m_pFrame)
            action->setEnabled(m_pFrame->QueryFor(m_pDocument, id).m_bEnabled);
    };
    addItem(ID_FILE_SEND_SCRIPT, "&Send Script File...");
    addItem(ID_FILE_LOG, "&Log To File...");
    menu->addSeparator();
    addItem(ID_FILE_PROPERTIES, "&Properties...");
    menu->addSeparator();
    addItem(ID_EDIT_COPY, "&Copy");
    menu->addSeparator();
    addItem(ID_VIEW_HEX_ASCII, "&HEX/ASCII");
    return menu;
}

void CParlimVW::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CParlimVW::RouteCommand(int id)
{
    if (m_pFrame && m_pDocument)
        m_pFrame->DispatchTo(m_pDocument, id);
}

void CParlimVW::OnEditCopy()
{
    m_pLogWnd->OnCopy();
}

void CParlimVW::OnUpdateEditCopy(CCmdUI& ui) const
{
    ui.Enable(m_pLogWnd && m_pLogWnd->GetSel(nullptr, nullptr));
}
