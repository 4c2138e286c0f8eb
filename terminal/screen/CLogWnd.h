#pragma once
#include "IReceivedBatchSink.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

class QTimer;

// The terminal screen of one connection: a store of text lines with a wrap
// column and a line limit, the raw-text copy for reply matching, the log
// file and a mouse selection. Keys it does not use reach the parent widget.
class CLogWnd : public QAbstractScrollArea, public IReceivedBatchSink {
    Q_OBJECT
public:
    // A (column, line) position in the line store.
    struct TextPos {
        std::uint32_t column = 0;
        std::uint32_t line = 0;
        bool operator==(const TextPos&) const = default;
    };

    static constexpr std::size_t kReceivedLimit = 1000;
    static constexpr std::uint32_t kLogFlushBytes = 2048;

    CLogWnd(const QString& caption, std::uint32_t wrapColumn, std::uint32_t maxLines, bool caret,
            QWidget* parent = nullptr);
    ~CLogWnd() override;

    // Received, echoed or printed text (the data message).
    void OnAddText(const char* bytes, std::size_t count) override;
    void OnAddText(std::string_view text) { OnAddText(text.data(), text.size()); }

    void Clear();
    std::string GetReceivedText() const { return m_strReceived; }
    // Start and end as column in the low word, line in the high word, each
    // clamped to 0xFFFF; true when the selection is not empty. Either may be null.
    bool GetSel(std::uint32_t* start, std::uint32_t* end) const;
    // The selection to the clipboard; nothing when it is empty.
    void OnCopy();
    // Selected text with "\r\n" between lines.
    std::string GetSelectedText() const;

    const std::deque<std::string>& Lines() const { return m_lines; }
    std::uint32_t CursorColumn() const { return m_nCursorCol; }
    int TopLine() const { return m_nTopLine; }
    int CharWidth() const { return m_cxChar; }
    int CharHeight() const { return m_cyChar; }
    // Lines drawn in blue: more than one character, '[' then a blank or '.'.
    static bool IsHighlightedLine(const std::string& text);

    // Set by the document's HEX/ASCII command: false shows hexadecimal.
    bool m_bAscii = true;
    // Log descriptor of the document's log file, -1 when not logging; the
    // document zeroes m_nLogBytes whenever it sets it.
    int m_hLogFile = -1;
    std::uint32_t m_nLogBytes = 0;
    // Raw received bytes for reply matching; the document empties and reads it.
    std::string m_strReceived;

signals:
    // A log write failed; logging has stopped (m_hLogFile is -1 again).
    void LogWriteFailed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab is a character for the instrument, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void KeepReceived(const char* bytes, std::size_t count);
    void PlaceText(std::string_view text);
    void WriteLog(std::string_view text);
    void StopLoggingAfterFailure();

    void OnRefreshTimer();
    void OnRefresh();
    void OnDragTimer();
    int UpdateScrollRange();
    void SetScrollPosAndCaret(int position);
    void ScrollTo(int position);
    int VisibleRows() const;

    TextPos HitTest(QPoint point) const;
    void ExtendSelection(QPoint point);
    void SelectWordAt(QPoint point);
    void StopDrag();
    bool SelectedColumns(std::uint32_t line, std::size_t length, std::size_t& from,
                         std::size_t& to) const;
    void UpdateCaret();

    std::deque<std::string> m_lines;
    int m_cxChar = 0;
    int m_cyChar = 0;
    int m_nTopLine = 0;
    bool m_bCaret;
    QFont m_font;
    std::uint32_t m_nWrapColumn;
    std::uint32_t m_nMaxLines;
    std::uint32_t m_nCursorCol = 0;
    bool m_bNewData = false;
    TextPos m_ptAnchor;
    TextPos m_selStart;
    TextPos m_selEnd;
    QPoint m_ptLastMouse;
    bool m_bDragging = false;
    QTimer* m_dragTimer;
    QTimer* m_refreshTimer;
    QPoint m_ptCaret;
};
