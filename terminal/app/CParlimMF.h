#pragma once
#include "CCmdUI.h"
#include "CMenuResources.h"
#include "CommandRouter.h"
#include "CommandTable.h"
#include "IConnectionFrame.h"

#include <QMainWindow>
#include <QRect>
#include <QTimer>

#include <map>
#include <vector>

class CParlimDoc;
class CParlimVW;
class IMainFrameOwner;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

// The terminal's main window: menu, toolbar, the eight status panes with
// their blink timer, the connection windows inside, and the command router
// that every menu item, key, button and posted command goes through.
class CParlimMF : public QMainWindow, public IConnectionFrame {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Parlim - Halvorn Pemberlin";
    static constexpr int kMinStoredHeight = 100;

    explicit CParlimMF(IMainFrameOwner& owner);
    ~CParlimMF() override;

    // Placement from the settings for a screen of that size.
    static QRect StoredPlacement(QSize screen);

    // The new-connection command: a document with its window, or nothing
    // when the connection is not made.
    void OpenConnection();

    CParlimDoc* ActiveDocument() const;
    // The view of that connection's window; null once the window is gone.
    CParlimVW* ViewOf(const CParlimDoc* document) const;
    std::vector<CParlimDoc*> Documents() const;
    QMdiArea* MdiArea() const { return m_mdiArea; }

    // The targets a command of that connection passes, first to last
    // (without a connection: the frame and the application).
    CommandRouter::Chain ChainFor(const CParlimDoc* document) const;
    CCmdUI QueryCommand(int id) const;
    CCmdUI QueryFor(const CParlimDoc* document, int id) const override;
    bool DispatchCommand(int id) override;
    // Through that connection's chain (none: the frame's); the connection
    // stays alive until its command has returned.
    bool DispatchTo(CParlimDoc* document, int id) override;
    // Queued; it reaches the given connection (the active one at handling
    // time when none is given) and is dropped when that connection is gone.
    void PostCommand(CParlimDoc* document, int id) override;

    // Idle-time refresh of toolbar buttons, status panes and the title.
    void UpdateCommandUI();
    void BringToFront();
    QString PaneText(int paneId) const;
    // The break button shows the picture of the break the options select.
    void ShowBreakPicture(bool software);
    // Every other window of the program goes: a recovery's progress window,
    // a dialog or box still open when the program ends.
    void CloseOtherWindows();

    bool m_bBlink = true;
    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;

signals:
    // The window has closed: the program is ending.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildCommandTable();
    void BuildMenu();
    void BuildToolBar();
    void BuildStatusBar();
    QAction* CommandAction(int id, const QString& text);
    void UpdateMenu(QMenu* menu);
    void UpdateAction(QAction* action);
    void StorePlacement();
    void TileHorizontally();
    void UpdateTitle();
    void OnBlinkTimer();

    IMainFrameOwner& m_owner;
    QMdiArea* m_mdiArea;
    CommandTable m_commands;
    QTimer m_blinkTimer;
    QTimer m_idleTimer;
    std::map<int, QLabel*> m_panes;
    std::map<int, QString> m_paneDefaults;
    bool m_bPlaced = false;
    // Menu bars 128 and 129 and the key table (connection commands).
    QMenu* BuildPopup(const CMenuResources::Popup& popup);
    void BuildKeyTable();
    void ShowMenuFor(bool connection);
    // The Window menu ends with one entry per connection window; choosing one activates it.
    void ListConnectionWindows(QMenu* menu);
    std::vector<QAction*> m_windowListActions;
    std::vector<QMenu*> m_frameMenus;
    std::vector<QMenu*> m_connectionMenus;
    bool m_bConnectionMenu = false;
};
