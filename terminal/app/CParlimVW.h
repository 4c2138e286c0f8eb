#pragma once
#include "CommandTable.h"

#include <QPointer>
#include <QWidget>

class CLogWnd;
class CParlimDoc;
class IConnectionFrame;
class QMenu;
struct CCmdUI;

// The view of one connection: holds its terminal window and passes the typed
// characters to the document.
class CParlimVW : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint32_t kWrapColumn = 80;
    static constexpr std::uint32_t kMaxLines = 2000;

    // Commands go through the frame; without one the view routes none.
    explicit CParlimVW(CParlimDoc* document, IConnectionFrame* frame = nullptr, QWidget* parent = nullptr);
    ~CParlimVW() override;

    CParlimDoc* GetDocument() const { return m_pDocument; }
    const CommandTable& Commands() const { return m_commands; }
    // The terminal's right-button menu (135), built as loaded.
    QMenu* BuildContextMenu();

    CLogWnd* m_pLogWnd;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab is a character for the instrument, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnChar(char ch);
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI& ui) const;
    void RouteCommand(int id);

    QPointer<CParlimDoc> m_pDocument;
    IConnectionFrame* m_pFrame;
    CommandTable m_commands;
};
