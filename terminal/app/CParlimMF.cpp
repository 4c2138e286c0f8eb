#include "CParlimMF.h"

#include "CParlimCF.h"
#include "CParlimDoc.h"
#include "CParlimVW.h"
#include "IMainFrameOwner.h"
#include "CMenuResources.h"
#include "HelpPage.h"
#include "MessagePump.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

using namespace parlim;

namespace {

constexpr int kBlinkMs = 1000;
constexpr int kIdleUpdateMs = 200;
constexpr int kMessagePaneWidth = 170;
constexpr int kButtonSize = 20;
constexpr int kBreakButtonIndex = 5;
constexpr int kHardwareBreakPictureIndex = 11;
constexpr int kSoftwareBreakPictureIndex = 12;

const int kDocumentPanes[] = {ID_INDICATOR_TITLE, ID_INDICATOR_SETTINGS, ID_INDICATOR_LOG, ID_INDICATOR_HEX,
                              ID_INDICATOR_SCRIPT};

// Commands the frame answers with nothing while no connection window is open.
const int kIdleConnectionCommands[] = {ID_FILE_PROPERTIES, ID_FILE_CONNECT, ID_FILE_DISCONNECT,
                                       ID_FILE_SEND_SCRIPT, ID_FILE_SEND_BREAK};

// The desktop theme's icon where one fits, else our own drawing.
QIcon ButtonIcon(const char* themeName, const char* drawing)
{
    const QIcon own(QString(":/toolbar/%1.png").arg(drawing));
    return themeName ? QIcon::fromTheme(themeName, own) : own;
}

} // namespace

CParlimMF::CParlimMF(IMainFrameOwner& owner) : m_owner(owner), m_mdiArea(new QMdiArea(this))
{
    platform::SetClosing(false);
    setWindowTitle(kTitle);
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect placement = StoredPlacement(screen ? screen->geometry().size() : QSize(1200, 900));
    move(placement.topLeft());
    resize(placement.size());

    setCentralWidget(m_mdiArea);
    BuildCommandTable();
    BuildMenu();
    BuildToolBar();
    BuildStatusBar();

    connect(&m_blinkTimer, &QTimer::timeout, this, &CParlimMF::OnBlinkTimer);
    m_blinkTimer.start(kBlinkMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &CParlimMF::UpdateCommandUI);
    m_idleTimer.start(kIdleUpdateMs);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CParlimMF::UpdateCommandUI);
    m_bPlaced = true;
}

CParlimMF::~CParlimMF()
{
    // Connection windows and their documents go before the frame's members.
    m_idleTimer.stop();
    m_blinkTimer.stop();
    m_mdiArea->disconnect(this);
    const QList<CParlimDoc*> documents = findChildren<CParlimDoc*>(Qt::FindDirectChildrenOnly);
    delete m_mdiArea;
    qDeleteAll(documents);
}

QRect CParlimMF::StoredPlacement(QSize screen)
{
    const int width = screen.width();
    const int height = screen.height();
    QRect defaults(width / 6, height / 6, 4 * width / 6, 4 * height / 6);
    int x = platform::GetProfileInt(kSectionSettings, kValueScreenX, defaults.x());
    int y = platform::GetProfileInt(kSectionSettings, kValueScreenY, defaults.y());
    int cx = platform::GetProfileInt(kSectionSettings, kValueScreenCx, defaults.width());
    int cy = platform::GetProfileInt(kSectionSettings, kValueScreenCy, defaults.height());
    if (cy < kMinStoredHeight)
        return defaults;
    return QRect(x, y, cx, cy);
}

void CParlimMF::StorePlacement()
{
    if (!m_bPlaced)
        return;
    platform::WriteProfileInt(kSectionSettings, kValueScreenX, x());
    platform::WriteProfileInt(kSectionSettings, kValueScreenY, y());
    platform::WriteProfileInt(kSectionSettings, kValueScreenCx, width());
    platform::WriteProfileInt(kSectionSettings, kValueScreenCy, height());
}

void CParlimMF::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    StorePlacement();
}

void CParlimMF::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    StorePlacement();
}

void CParlimMF::closeEvent(QCloseEvent* event)
{
    m_owner.OnMainWindowClosing();
    m_mdiArea->closeAllSubWindows();
    CloseOtherWindows();
    QMainWindow::closeEvent(event);
    emit Closed();
}

void CParlimMF::CloseOtherWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this)
            windows.push_back(window);
    }
    // A window may take others with it as it closes.
    for (const QPointer<QWidget>& window : windows) {
        if (window && window->isVisible())
            window->close();
    }
}

void CParlimMF::OnBlinkTimer()
{
    m_bBlink = !m_bBlink;
}

void CParlimMF::BuildCommandTable()
{
    for (int id : kIdleConnectionCommands)
        m_commands.Add(id, [] {}, [this](CCmdUI& ui) { ui.Enable(Documents().empty()); });
    for (int pane : kDocumentPanes)
        m_commands.AddUpdateRule(pane, [](CCmdUI& ui) { ui.Enable(false); });
    m_commands.Add(ID_TEST_COMMAND, [] { platform::ShowMessage("OK", platform::MB_OK); });
    m_commands.Add(
        ID_VIEW_TOOLBAR, [this] { m_wndToolBar->setVisible(!m_wndToolBar->isVisible()); },
        [this](CCmdUI& ui) { ui.SetCheck(m_wndToolBar->isVisible()); });
    m_commands.Add(
        ID_VIEW_STATUS_BAR, [this] { m_wndStatusBar->setVisible(!m_wndStatusBar->isVisible()); },
        [this](CCmdUI& ui) { ui.SetCheck(m_wndStatusBar->isVisible()); });
    m_commands.Add(ID_WINDOW_CASCADE, [this] { m_mdiArea->cascadeSubWindows(); });
    m_commands.Add(ID_FILE_CLOSE, [this] {
        if (QMdiSubWindow* child = m_mdiArea->currentSubWindow())
            child->close();
    });
    m_commands.Add(ID_HELP, [] { platform::ShowHelpPage(); });
    m_commands.Add(ID_WINDOW_TILE_HORZ, [this] { TileHorizontally(); });
}

QAction* CParlimMF::CommandAction(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(id));
    action->setStatusTip(QString::fromStdString(CommandPrompt(id)));
    QString tooltip = QString::fromStdString(CommandTooltip(id));
    if (!tooltip.isEmpty())
        action->setToolTip(tooltip);
    connect(action, &QAction::triggered, this, [this, id] { DispatchCommand(id); });
    return action;
}

void CParlimMF::BuildMenu()
{
    menuBar()->setObjectName(QString::number(IDR_MAINFRAME));
    for (const CMenuResources::Popup& popup : CMenuResources::FrameMenu())
        m_frameMenus.push_back(BuildPopup(popup));
    for (const CMenuResources::Popup& popup : CMenuResources::ConnectionMenu())
        m_connectionMenus.push_back(BuildPopup(popup));
    for (QMenu* menu : m_connectionMenus) {
        const QList<QAction*> items = menu->actions();
        const QString cascade = QString::number(ID_WINDOW_CASCADE);
        if (std::any_of(items.begin(), items.end(), [&](QAction* item) { return item->objectName() == cascade; }))
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { ListConnectionWindows(menu); });
    }
    m_bConnectionMenu = true;
    ShowMenuFor(false);
    BuildKeyTable();
}

QMenu* CParlimMF::BuildPopup(const CMenuResources::Popup& popup)
{
    auto* menu = new QMenu(QString::fromUtf8(popup.title), this);
    for (const auto& [id, text] : popup.items) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = CommandAction(id, QString::fromUtf8(text));
        action->setCheckable(id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR || id == ID_VIEW_HEX_ASCII);
        menu->addAction(action);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    return menu;
}

void CParlimMF::ListConnectionWindows(QMenu* menu)
{
    for (QAction* action : m_windowListActions)
        menu->removeAction(action);
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowListActions.push_back(menu->addSeparator());
    for (qsizetype index = 0; index < windows.size(); ++index) {
        QPointer<QMdiSubWindow> window = windows[index];
        QAction* action = menu->addAction(QString("&%1 %2").arg(index + 1).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window] {
            if (window)
                m_mdiArea->setActiveSubWindow(window);
        });
        m_windowListActions.push_back(action);
    }
}

void CParlimMF::ShowMenuFor(bool connection)
{
    if (connection == m_bConnectionMenu)
        return;
    m_bConnectionMenu = connection;
    QMenuBar* bar = menuBar();
    bar->clear();
    bar->setObjectName(QString::number(connection ? IDR_PARLIMTYPE : IDR_MAINFRAME));
    for (QMenu* menu : connection ? m_connectionMenus : m_frameMenus)
        bar->addMenu(menu);
}

void CParlimMF::BuildKeyTable()
{
    for (const CMenuResources::Key& key : CMenuResources::KeyTable()) {
        auto* shortcut = new QShortcut(key.sequence, this);
        const int id = key.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { DispatchCommand(id); });
    }
}

void CParlimMF::BuildToolBar()
{
    m_wndToolBar = addToolBar("Toolbar");
    m_wndToolBar->setObjectName(QString::number(IDR_MAINFRAME));
    m_wndToolBar->setIconSize(QSize(kButtonSize, kButtonSize));
    auto addButton = [this](int id, const char* themeName, const char* drawing) {
        QAction* action = CommandAction(id, QString::fromStdString(CommandTooltip(id)));
        action->setIcon(ButtonIcon(themeName, drawing));
        m_wndToolBar->addAction(action);
        return action;
    };
    addButton(ID_FILE_NEW, "document-new", "new");
    m_wndToolBar->addSeparator();
    addButton(ID_FILE_CONNECT, "network-connect", "connect");
    addButton(ID_FILE_DISCONNECT, "network-disconnect", "disconnect");
    m_wndToolBar->addSeparator();
    addButton(ID_FILE_SEND_BREAK, nullptr, "break");
    m_wndToolBar->addSeparator();
    addButton(ID_FILE_PROPERTIES, "document-properties", "properties");
    m_wndToolBar->addSeparator();
    addButton(ID_APP_ABOUT, "help-about", "about");
    m_wndToolBar->addSeparator();
    // The two pictures of the break button (a line break, the "===" text);
    // never shown themselves.
    addButton(ID_HIDDEN_BUTTON1, nullptr, "break")->setVisible(false);
    addButton(ID_HIDDEN_BUTTON2, nullptr, "softbreak")->setVisible(false);
}

void CParlimMF::BuildStatusBar()
{
    m_wndStatusBar = statusBar();
    auto* messagePane = new QLabel(this);
    messagePane->setObjectName("0");
    messagePane->setFixedWidth(kMessagePaneWidth);
    m_wndStatusBar->addWidget(messagePane);
    const int panes[] = {ID_INDICATOR_TITLE,  ID_INDICATOR_SETTINGS, ID_INDICATOR_SPACER, ID_INDICATOR_SCRIPT,
                         ID_INDICATOR_LOG,    ID_INDICATOR_HEX,      ID_INDICATOR_SPACER2};
    for (int id : panes) {
        QString text = QString::fromStdString(LoadResString(id));
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::number(id));
        int width = label->fontMetrics().horizontalAdvance(text);
        label->setMinimumWidth(id == ID_INDICATOR_TITLE ? width + 10 : width);
        if (id == ID_INDICATOR_SPACER || id == ID_INDICATOR_SPACER2)
            label->setFrameStyle(QFrame::NoFrame);
        m_wndStatusBar->addPermanentWidget(label);
        m_panes[id] = label;
        m_paneDefaults[id] = text;
    }
}

CParlimDoc* CParlimMF::ActiveDocument() const
{
    auto* child = qobject_cast<CParlimCF*>(m_mdiArea->currentSubWindow());
    return child ? child->Document() : nullptr;
}

CParlimVW* CParlimMF::ViewOf(const CParlimDoc* document) const
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* child = qobject_cast<CParlimCF*>(window);
        if (child && child->Document() == document)
            return child->View();
    }
    return nullptr;
}

std::vector<CParlimDoc*> CParlimMF::Documents() const
{
    std::vector<CParlimDoc*> documents;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* child = qobject_cast<CParlimCF*>(window);
        if (child && child->Document())
            documents.push_back(child->Document());
    }
    return documents;
}

CommandRouter::Chain CParlimMF::ChainFor(const CParlimDoc* document) const
{
    CommandRouter::Chain chain;
    if (document) {
        if (const CParlimVW* view = ViewOf(document))
            chain.push_back(&view->Commands());
        chain.push_back(&document->Commands());
    }
    chain.push_back(&m_commands);
    chain.push_back(&m_owner.Commands());
    return chain;
}

CCmdUI CParlimMF::QueryCommand(int id) const
{
    return QueryFor(ActiveDocument(), id);
}

CCmdUI CParlimMF::QueryFor(const CParlimDoc* document, int id) const
{
    return CommandRouter::Query(ChainFor(document), id);
}

bool CParlimMF::DispatchCommand(int id)
{
    return DispatchTo(ActiveDocument(), id);
}

bool CParlimMF::DispatchTo(CParlimDoc* document, int id)
{
    if (!document)
        return CommandRouter::Dispatch(ChainFor(nullptr), id);
    CParlimDoc::BusyScope busy(*document);
    return CommandRouter::Dispatch(ChainFor(document), id);
}

void CParlimMF::PostCommand(CParlimDoc* document, int id)
{
    QPointer<CParlimDoc> target(document);
    const bool addressed = document != nullptr;
    QMetaObject::invokeMethod(
        this,
        [this, target, addressed, id] {
            if (addressed && !target)
                return;
            DispatchTo(addressed ? target.data() : ActiveDocument(), id);
        },
        Qt::QueuedConnection);
}

void CParlimMF::UpdateAction(QAction* action)
{
    bool ok = false;
    int id = action->objectName().toInt(&ok);
    if (!ok || action->isSeparator())
        return;
    CCmdUI state = QueryCommand(id);
    action->setEnabled(state.m_bEnabled);
    action->setChecked(state.m_bChecked);
    if (state.m_text)
        action->setText(QString::fromStdString(*state.m_text));
}

void CParlimMF::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions())
        UpdateAction(action);
}

void CParlimMF::UpdateCommandUI()
{
    ShowMenuFor(ActiveDocument() != nullptr);
    for (QAction* action : m_wndToolBar->actions())
        UpdateAction(action);
    for (int pane : kDocumentPanes) {
        CCmdUI state = QueryCommand(pane);
        QString text = !state.m_bEnabled ? QString()
                       : state.m_text    ? QString::fromStdString(*state.m_text)
                                         : m_paneDefaults[pane];
        m_panes[pane]->setText(text);
    }
    UpdateTitle();
}

QString CParlimMF::PaneText(int paneId) const
{
    auto found = m_panes.find(paneId);
    return found == m_panes.end() ? QString() : found->second->text();
}

void CParlimMF::ShowBreakPicture(bool software)
{
    if (!m_wndToolBar)
        return;
    const QList<QAction*> buttons = m_wndToolBar->actions();
    const int pictureIndex = software ? kSoftwareBreakPictureIndex : kHardwareBreakPictureIndex;
    if (buttons.size() <= pictureIndex)
        return;
    const QIcon picture = buttons[pictureIndex]->icon();
    QAction* breakButton = buttons[kBreakButtonIndex];
    if (breakButton->icon().cacheKey() != picture.cacheKey())
        breakButton->setIcon(picture);
}

void CParlimMF::UpdateTitle()
{
    QString title = kTitle;
    QMdiSubWindow* child = m_mdiArea->currentSubWindow();
    if (child) {
        QString documentTitle = child->windowTitle();
        title += child->isMaximized() ? " - [" + documentTitle + "]" : " - " + documentTitle;
    }
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CParlimMF::TileHorizontally()
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows.push_back(window);
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int height = area.height() / static_cast<int>(windows.size());
    int top = 0;
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(0, top, area.width(), height);
        top += height;
    }
}

void CParlimMF::OpenConnection()
{
    auto* document = new CParlimDoc(m_owner.ConnectionHost(), this);
    auto* view = new CParlimVW(document, this);
    document->SetLogWnd(view->m_pLogWnd);
    if (!document->OnNewDocument()) {
        delete view;
        delete document;
        return;
    }
    auto* child = new CParlimCF(document, view, *this);
    m_mdiArea->addSubWindow(child);
    child->ActivateFrame();
    UpdateCommandUI();
}

void CParlimMF::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
