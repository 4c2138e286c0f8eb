#include "CLogWnd.h"

#include "Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRefreshMs = 100;
constexpr int kDragMs = 100;
constexpr int kCaretWidth = 2;
constexpr int kFontPoints = 10;
const QColor kHighlightLineColor(0, 0, 255);

// Glyphs of the instrument's character set: control characters and the
// upper half are drawn as the terminal font showed them, never dropped.
constexpr std::array<char16_t, 32> kControlGlyphs{
    u' ',     u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};

constexpr std::array<char16_t, 128> kUpperGlyphs{
    u'\u00C7', u'\u00FC', u'\u00E9', u'\u00E2', u'\u00E4', u'\u00E0', u'\u00E5', u'\u00E7',
    u'\u00EA', u'\u00EB', u'\u00E8', u'\u00EF', u'\u00EE', u'\u00EC', u'\u00C4', u'\u00C5',
    u'\u00C9', u'\u00E6', u'\u00C6', u'\u00F4', u'\u00F6', u'\u00F2', u'\u00FB', u'\u00F9',
    u'\u00FF', u'\u00D6', u'\u00DC', u'\u00A2', u'\u00A3', u'\u00A5', u'\u20A7', u'\u0192',
    u'\u00E1', u'\u00ED', u'\u00F3', u'\u00FA', u'\u00F1', u'\u00D1', u'\u00AA', u'\u00BA',
    u'\u00BF', u'\u2310', u'\u00AC', u'\u00BD', u'\u00BC', u'\u00A1', u'\u00AB', u'\u00BB',
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',
    u'\u03B1', u'\u00DF', u'\u0393', u'\u03C0', u'\u03A3', u'\u03C3', u'\u00B5', u'\u03C4',
    u'\u03A6', u'\u0398', u'\u03A9', u'\u03B4', u'\u221E', u'\u03C6', u'\u03B5', u'\u2229',
    u'\u2261', u'\u00B1', u'\u2265', u'\u2264', u'\u2320', u'\u2321', u'\u00F7', u'\u2248',
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u207F', u'\u00B2', u'\u25A0', u'\u00A0'};

QString ScreenText(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char byte : bytes) {
        if (byte < 0x20)
            text.append(QChar(kControlGlyphs[byte]));
        else if (byte == 0x7F)
            text.append(QChar(u'\u2302'));
        else if (byte >= 0x80)
            text.append(QChar(kUpperGlyphs[byte - 0x80]));
        else
            text.append(QChar(byte));
    }
    return text;
}

std::uint32_t PackPosition(const CLogWnd::TextPos& pos)
{
    return std::min<std::uint32_t>(pos.column, 0xFFFF) |
           (std::min<std::uint32_t>(pos.line, 0xFFFF) << 16);
}

bool Before(const CLogWnd::TextPos& a, const CLogWnd::TextPos& b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

std::string HexText(const char* bytes, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0x0F]);
    }
    return hex;
}

} // namespace

CLogWnd::CLogWnd(const QString& caption, std::uint32_t wrapColumn, std::uint32_t maxLines,
                 bool caret, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_bCaret(caret),
      m_nWrapColumn(wrapColumn),
      m_nMaxLines(maxLines),
      m_dragTimer(new QTimer(this)),
      m_refreshTimer(new QTimer(this))
{
    setWindowTitle(caption);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setTracking(false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);

    m_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setFixedPitch(true);
    m_font.setPointSize(kFontPoints);
    QFontMetrics metrics(m_font);
    m_cxChar = metrics.horizontalAdvance(QLatin1Char('X'));
    m_cyChar = metrics.height();

    m_dragTimer->setInterval(kDragMs);
    connect(m_dragTimer, &QTimer::timeout, this, &CLogWnd::OnDragTimer);
    m_refreshTimer->setInterval(kRefreshMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &CLogWnd::OnRefreshTimer);
    m_refreshTimer->start();
    UpdateScrollRange();
    QMetaObject::invokeMethod(this, &CLogWnd::OnRefresh, Qt::QueuedConnection);
}

CLogWnd::~CLogWnd() = default;

bool CLogWnd::IsHighlightedLine(const std::string& text)
{
    return text.size() > 1 && text[0] == '[' && (text[1] == ' ' || text[1] == '.');
}

bool CLogWnd::event(QEvent* event)
{
    // A failing handler ends its own event only; the terminal stays up. A
    // message box here would re-enter the event loop from inside a paint or
    // key handler, so the reason goes to standard error.
    try {
        return QAbstractScrollArea::event(event);
    } catch (const std::exception& error) {
        qWarning("Parlim: %s", error.what());
        return true;
    }
}

void CLogWnd::OnAddText(const char* bytes, std::size_t count)
{
    // Plain text is placed straight from the batch; only hexadecimal needs a copy.
    const std::string hex = m_bAscii ? std::string() : HexText(bytes, count);
    const std::string_view display = m_bAscii ? std::string_view(bytes, count) : std::string_view(hex);
    KeepReceived(bytes, count);
    PlaceText(display);
    m_bNewData = true;
    if (m_hLogFile >= 0)
        WriteLog(display);
}

void CLogWnd::KeepReceived(const char* bytes, std::size_t count)
{
    // Tested once per batch, so the copy may pass the limit by one batch.
    if (m_strReceived.size() < kReceivedLimit)
        m_strReceived.append(bytes, count);
}

void CLogWnd::PlaceText(std::string_view text)
{
    std::string line;
    if (!m_lines.empty()) {
        line = std::move(m_lines.back());
        m_lines.pop_back();
    }
    for (char c : text) {
        switch (c) {
        case '\b':
            if (m_nCursorCol > 0)
                --m_nCursorCol;
            continue;
        case '\n':
            m_lines.push_back(std::move(line));
            line.clear();
            m_nCursorCol = 0;
            continue;
        case '\r':
            m_nCursorCol = 0;
            continue;
        case '\x10':
            c = '>';
            break;
        case '\x11':
            c = '<';
            break;
        default:
            break;
        }
        if (m_nWrapColumn != 0 && line.size() == m_nWrapColumn) {
            m_lines.push_back(std::move(line));
            line.clear();
            m_nCursorCol = 0;
        }
        if (m_nCursorCol >= line.size()) {
            line.push_back(c);
            m_nCursorCol = static_cast<std::uint32_t>(line.size());
        } else {
            line[m_nCursorCol++] = c;
        }
    }
    m_lines.push_back(std::move(line));
    if (m_nMaxLines != 0) {
        while (m_lines.size() > m_nMaxLines)
            m_lines.pop_front();
    }
}

void CLogWnd::WriteLog(std::string_view text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t put = ::write(m_hLogFile, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            StopLoggingAfterFailure();
            return;
        }
        done += static_cast<std::size_t>(put);
    }
    m_nLogBytes += static_cast<std::uint32_t>(text.size());
    if (m_nLogBytes >= kLogFlushBytes) {
        m_nLogBytes = 0;
        // Starts the write-out without waiting for the disk, so a fast
        // instrument is not held back by one disk flush per batch.
        ::sync_file_range(m_hLogFile, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
}

void CLogWnd::StopLoggingAfterFailure()
{
    m_hLogFile = -1;
    m_nLogBytes = 0;
    // Told after the text is in place: a message box must not run inside the update.
    QTimer::singleShot(0, this, [this] {
        emit LogWriteFailed();
        platform::ShowMessage("Problems with writing to log file.",
                              platform::MB_OK | platform::MB_ICONEXCLAMATION);
    });
}

void CLogWnd::Clear()
{
    m_lines.clear();
    m_nTopLine = 0;
    m_nCursorCol = 0;
    m_ptAnchor = {};
    m_selStart = {};
    m_selEnd = {};
    m_ptLastMouse = {};
    m_ptCaret = {};
    viewport()->update();
}

bool CLogWnd::GetSel(std::uint32_t* start, std::uint32_t* end) const
{
    if (start)
        *start = PackPosition(m_selStart);
    if (end)
        *end = PackPosition(m_selEnd);
    return !(m_selStart == m_selEnd);
}

bool CLogWnd::SelectedColumns(std::uint32_t line, std::size_t length, std::size_t& from,
                              std::size_t& to) const
{
    if (m_selStart == m_selEnd || line < m_selStart.line || line > m_selEnd.line)
        return false;
    from = line == m_selStart.line ? m_selStart.column : 0;
    to = line == m_selEnd.line ? m_selEnd.column : length;
    from = std::min(from, length);
    to = std::min(to, length);
    return from < to;
}

std::string CLogWnd::GetSelectedText() const
{
    std::string text;
    if (m_selStart == m_selEnd)
        return text;
    std::uint32_t last = std::min<std::uint32_t>(m_selEnd.line, static_cast<std::uint32_t>(m_lines.size()) - 1);
    for (std::uint32_t l = m_selStart.line; l <= last; ++l) {
        std::size_t from = 0, to = 0;
        if (SelectedColumns(l, m_lines[l].size(), from, to))
            text.append(m_lines[l], from, to - from);
        if (l != last)
            text.append("\r\n");
    }
    return text;
}

void CLogWnd::OnCopy()
{
    if (m_selStart == m_selEnd || m_lines.empty())
        return;
    std::string text = GetSelectedText();
    QApplication::clipboard()->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void CLogWnd::OnRefreshTimer()
{
    if (m_bNewData)
        QMetaObject::invokeMethod(this, &CLogWnd::OnRefresh, Qt::QueuedConnection);
}

void CLogWnd::OnRefresh()
{
    int maximum = UpdateScrollRange();
    m_nTopLine = maximum;
    SetScrollPosAndCaret(maximum);
    if (m_bDragging)
        ExtendSelection(m_ptLastMouse);
    viewport()->update();
    m_bNewData = false;
}

int CLogWnd::VisibleRows() const
{
    return m_cyChar == 0 ? 0 : viewport()->height() / m_cyChar;
}

int CLogWnd::UpdateScrollRange()
{
    int maximum = std::max(0, static_cast<int>(m_lines.size()) - VisibleRows());
    QScrollBar* bar = verticalScrollBar();
    QSignalBlocker quiet(bar);
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(1, VisibleRows()));
    bar->setSingleStep(1);
    return maximum;
}

void CLogWnd::SetScrollPosAndCaret(int position)
{
    {
        QSignalBlocker quiet(verticalScrollBar());
        verticalScrollBar()->setValue(position);
    }
    int lines = static_cast<int>(m_lines.size());
    int y = position == lines ? 0 : (lines - position - 1) * m_cyChar;
    m_ptCaret = QPoint(static_cast<int>(m_nCursorCol) * m_cxChar, y);
    UpdateCaret();
}

void CLogWnd::UpdateCaret()
{
    if (m_bCaret && hasFocus())
        viewport()->update();
}

void CLogWnd::ScrollTo(int position)
{
    QScrollBar* bar = verticalScrollBar();
    position = std::clamp(position, bar->minimum(), bar->maximum());
    if (position == m_nTopLine)
        return;
    m_nTopLine = position;
    SetScrollPosAndCaret(position);
    viewport()->update();
}

void CLogWnd::scrollContentsBy(int, int)
{
    // The bar moved by the user (arrows, page, thumb at release).
    m_nTopLine = verticalScrollBar()->value();
    SetScrollPosAndCaret(m_nTopLine);
    viewport()->update();
}

void CLogWnd::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    int maximum = UpdateScrollRange();
    if (m_nTopLine > maximum) {
        m_nTopLine = maximum;
        SetScrollPosAndCaret(maximum);
    }
}

void CLogWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPalette& colors = palette();
    painter.fillRect(event->rect(), colors.color(QPalette::Base));
    painter.setFont(m_font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    QFontMetrics metrics(m_font);
    int lines = static_cast<int>(m_lines.size());
    int rows = m_cyChar == 0 ? 0 : (viewport()->height() + m_cyChar - 1) / m_cyChar;
    rows = std::min(rows, lines - m_nTopLine);
    for (int i = 0; i < rows; ++i) {
        int l = m_nTopLine + i;
        std::string text = m_lines[static_cast<std::size_t>(l)];
        // A selection that runs past the end of a line shows its end.
        if (l != lines - 1)
            text.push_back(' ');
        std::size_t from = 0, to = 0;
        bool selected = SelectedColumns(static_cast<std::uint32_t>(l), text.size(), from, to);
        int baseline = i * m_cyChar + metrics.ascent();
        if (!(selected && from == 0 && to == text.size())) {
            painter.setBackground(colors.color(QPalette::Base));
            painter.setPen(IsHighlightedLine(text) ? kHighlightLineColor : colors.color(QPalette::Text));
            painter.drawText(0, baseline, ScreenText(text));
        }
        if (selected) {
            painter.setBackground(colors.color(QPalette::Highlight));
            painter.setPen(colors.color(QPalette::HighlightedText));
            painter.drawText(static_cast<int>(from) * m_cxChar, baseline, ScreenText(text.substr(from, to - from)));
        }
    }
    if (m_bCaret && hasFocus())
        painter.fillRect(QRect(m_ptCaret, QSize(kCaretWidth, m_cyChar)), colors.color(QPalette::Text));
}

void CLogWnd::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CLogWnd::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CLogWnd::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        ScrollTo(m_nTopLine - bar->pageStep());
        return;
    case Qt::Key_PageDown:
        ScrollTo(m_nTopLine + bar->pageStep());
        return;
    case Qt::Key_Down:
        ScrollTo(m_nTopLine + 1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        return;
    case Qt::Key_End:
    case Qt::Key_Home:
        if (control) {
            ScrollTo(event->key() == Qt::Key_End ? bar->maximum() : bar->minimum());
            return;
        }
        break;
    case Qt::Key_Escape:
        m_selStart = m_selEnd = {};
        viewport()->update();
        break;
    default:
        break;
    }
    // Everything else is the parent's: typed characters go to the instrument.
    event->ignore();
}

void CLogWnd::keyReleaseEvent(QKeyEvent* event)
{
    event->ignore();
}

CLogWnd::TextPos CLogWnd::HitTest(QPoint point) const
{
    if (m_cxChar == 0 || m_cyChar == 0 || point.y() < 0 || m_lines.empty())
        return {};
    std::size_t line = static_cast<std::size_t>(point.y() / m_cyChar + m_nTopLine);
    std::size_t column = point.x() < 0 ? 0 : static_cast<std::size_t>(point.x() / m_cxChar);
    if (line >= m_lines.size()) {
        line = m_lines.size() - 1;
        column = m_lines[line].size();
    }
    column = std::min(column, m_lines[line].size());
    return {static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(line)};
}

void CLogWnd::ExtendSelection(QPoint point)
{
    TextPos hit = HitTest(point);
    m_selStart = Before(hit, m_ptAnchor) ? hit : m_ptAnchor;
    m_selEnd = Before(hit, m_ptAnchor) ? m_ptAnchor : hit;
    viewport()->update();
}

void CLogWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint point = event->position().toPoint();
    if (event->modifiers() & Qt::ShiftModifier) {
        ExtendSelection(point);
        return;
    }
    m_bDragging = true;
    m_ptAnchor = m_selStart = m_selEnd = HitTest(point);
    m_ptLastMouse = point;
    viewport()->update();
    m_dragTimer->start();
}

void CLogWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bDragging || !(event->buttons() & Qt::LeftButton))
        return;
    m_ptLastMouse = event->position().toPoint();
    ExtendSelection(m_ptLastMouse);
}

void CLogWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragTimer->stop();
    if (m_bDragging) {
        m_bDragging = false;
        ExtendSelection(event->position().toPoint());
    }
}

void CLogWnd::StopDrag()
{
    m_dragTimer->stop();
    m_bDragging = false;
}

void CLogWnd::OnDragTimer()
{
    QScrollBar* bar = verticalScrollBar();
    if (m_ptLastMouse.y() < 0) {
        if (m_nTopLine > bar->minimum())
            ScrollTo(m_nTopLine - 1);
    } else if (m_ptLastMouse.y() > viewport()->height()) {
        if (m_nTopLine < bar->maximum())
            ScrollTo(m_nTopLine + 1);
    } else {
        return;
    }
    ExtendSelection(m_ptLastMouse);
}

void CLogWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_lines.empty())
        return;
    StopDrag();
    SelectWordAt(event->position().toPoint());
}

void CLogWnd::SelectWordAt(QPoint point)
{
    TextPos hit = HitTest(point);
    m_selStart = m_selEnd = hit;
    const std::string& line = m_lines[hit.line];
    if (hit.column < line.size() && line[hit.column] != ' ') {
        std::uint32_t from = hit.column, to = hit.column + 1;
        if (IsWordChar(line[hit.column])) {
            while (from > 0 && IsWordChar(line[from - 1]))
                --from;
            while (to < line.size() && IsWordChar(line[to]))
                ++to;
        }
        m_selStart.column = from;
        m_selEnd.column = to;
    }
    m_ptAnchor = m_selStart;
    viewport()->update();
}

void CLogWnd::closeEvent(QCloseEvent* event)
{
    m_refreshTimer->stop();
    QAbstractScrollArea::closeEvent(event);
}
