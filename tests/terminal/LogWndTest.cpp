#include "CLogWnd.h"

#include "GuiTestApp.h"
#include "PumpUntil.h"
#include "Messages.h"
#include "TempDir.h"

#include <QClipboard>
#include <QPaintEngine>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Records the keys that the terminal window passes on.
class KeyParent : public QWidget {
public:
    std::vector<int> pressed;
    std::vector<int> released;

protected:
    void keyPressEvent(QKeyEvent* event) override { pressed.push_back(event->key()); }
    void keyReleaseEvent(QKeyEvent* event) override { released.push_back(event->key()); }
};

// A paint device that keeps the texts drawn on it with their pen colours,
// so colours are checked without rasterising any font.
class TextPenRecorder : public QPaintDevice {
public:
    struct Text {
        QString text;
        QColor pen;
        bool operator==(const Text&) const = default;
    };

    explicit TextPenRecorder(QSize size) : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const std::vector<Text>& Drawn() const { return m_engine.drawn; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& changed) override
        {
            if (changed.state() & DirtyPen)
                pen = changed.pen().color();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { drawn.push_back({item.text(), pen}); }
        Type type() const override { return User; }

        QColor pen;
        std::vector<Text> drawn;
    };

    QSize m_size;
    mutable Engine m_engine;
};

class LogWndTest : public ::testing::Test {
protected:
    LogWndTest()
    {
        m_window.resize(600, 10 * m_window.CharHeight() + 4);
    }

    std::vector<std::string> Shown() const { return {m_window.Lines().begin(), m_window.Lines().end()}; }

    // The pixel of a text cell (its centre).
    QPoint Cell(int column, int row) const
    {
        return {column * m_window.CharWidth() + m_window.CharWidth() / 2,
                row * m_window.CharHeight() + m_window.CharHeight() / 2};
    }

    void Show()
    {
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    QApplication& m_app = GuiTestApp();
    CLogWnd m_window{QString(), 80, 2000, true};
};

using TextLines = std::vector<std::string>;

} // namespace

TEST_F(LogWndTest, ControlCharactersAndOverwrite)
{
    m_window.OnAddText("abc\rX");
    EXPECT_EQ(Shown(), TextLines({"Xbc"}));
    EXPECT_EQ(m_window.CursorColumn(), 1u);

    m_window.Clear();
    m_window.OnAddText("\bA");
    m_window.OnAddText("bc\b\bZ");
    EXPECT_EQ(Shown(), TextLines({"AZc"}));

    m_window.Clear();
    m_window.OnAddText("one\ntwo\n");
    m_window.OnAddText(std::string("\x10\x11\x01\x7f\x80\xff", 6));
    EXPECT_EQ(Shown(), TextLines({"one", "two", std::string("><\x01\x7f\x80\xff", 6)}));
}

TEST_F(LogWndTest, WrapColumnAndLineLimit)
{
    std::string eighty(80, 'a');
    m_window.OnAddText(eighty + "bcdef");
    EXPECT_EQ(Shown(), TextLines({eighty, "bcdef"}));

    // A carriage return at the wrap column does not overwrite the full line.
    m_window.Clear();
    m_window.OnAddText(eighty + "\rY");
    EXPECT_EQ(Shown(), TextLines({eighty, "Y"}));

    m_window.Clear();
    for (int i = 0; i < 2005; ++i)
        m_window.OnAddText("line " + std::to_string(i) + "\r\n");
    ASSERT_EQ(m_window.Lines().size(), 2000u);
    EXPECT_EQ(m_window.Lines().front(), "line 6");
    EXPECT_EQ(m_window.Lines()[1998], "line 2004");
    EXPECT_EQ(m_window.Lines().back(), "");
}

TEST_F(LogWndTest, HexModeShowsEveryByte)
{
    m_window.m_bAscii = false;
    m_window.OnAddText("\r\n");
    EXPECT_EQ(Shown(), TextLines({"0D0A"}));
    m_window.Clear();
    m_window.OnAddText(std::string(41, '\xAB'));
    std::string full;
    for (int i = 0; i < 40; ++i)
        full += "AB";
    EXPECT_EQ(Shown(), TextLines({full, "AB"}));
    // The raw copy holds the bytes, not their rendering.
    EXPECT_EQ(m_window.GetReceivedText(), std::string("\r\n") + std::string(41, '\xAB'));
}

TEST_F(LogWndTest, RawTextKeepsBatchesUntilItHoldsAThousand)
{
    m_window.OnAddText(std::string(999, 'x'));
    m_window.OnAddText(std::string(500, '\0'));
    EXPECT_EQ(m_window.m_strReceived.size(), 1499u);
    m_window.OnAddText("more");
    EXPECT_EQ(m_window.m_strReceived.size(), 1499u);
    m_window.m_strReceived.clear();
    m_window.OnAddText("reply>");
    EXPECT_EQ(m_window.GetReceivedText(), "reply>");
    m_window.Clear();
    EXPECT_EQ(m_window.GetReceivedText(), "reply>");
}

TEST_F(LogWndTest, LogGetsTheDisplayTextAndFlushesEvery2048Bytes)
{
    TempDir dir;
    int fd = ::open(dir.File("log.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    m_window.m_hLogFile = fd;
    m_window.OnAddText(std::string("a\b\x10\r\n", 5));
    m_window.OnAddText(std::string(2047 - 5, 'z'));
    EXPECT_EQ(m_window.m_nLogBytes, 2047u);
    m_window.OnAddText("!");
    EXPECT_EQ(m_window.m_nLogBytes, 0u);
    m_window.m_bAscii = false;
    m_window.OnAddText("\r\n");
    EXPECT_EQ(m_window.m_nLogBytes, 4u);
    ::close(fd);
    std::string logged = ReadFileText(dir.File("log.txt"));
    EXPECT_EQ(logged, std::string("a\b\x10\r\n", 5) + std::string(2042, 'z') + "!0D0A");
}

TEST_F(LogWndTest, FailedLogWriteStopsLoggingAndSaysSo)
{
    platform::RecordingMessageBackend messages;
    QSignalSpy failed(&m_window, &CLogWnd::LogWriteFailed);
    TempDir dir;
    WriteFileText(dir.File("readonly.txt"), "");
    int fd = ::open(dir.File("readonly.txt").c_str(), O_RDONLY);
    m_window.m_hLogFile = fd;
    m_window.OnAddText("text");
    EXPECT_EQ(m_window.m_hLogFile, -1);
    EXPECT_EQ(Shown(), TextLines({"text"}));
    ASSERT_TRUE(failed.wait(2000));
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "Problems with writing to log file.");
    ::close(fd);
}

TEST_F(LogWndTest, HighlightRule)
{
    EXPECT_TRUE(CLogWnd::IsHighlightedLine("[ ADCP NOT FOUND ]"));
    EXPECT_TRUE(CLogWnd::IsHighlightedLine("[.x"));
    EXPECT_TRUE(CLogWnd::IsHighlightedLine("[ "));
    EXPECT_FALSE(CLogWnd::IsHighlightedLine("[x"));
    EXPECT_FALSE(CLogWnd::IsHighlightedLine("["));
    EXPECT_FALSE(CLogWnd::IsHighlightedLine(" [ x"));
}

TEST_F(LogWndTest, EarlierLoneBracketIsDrawnBlueButTheOpenLineIsNot)
{
    m_window.show();
    m_window.OnAddText("[\n[");
    TextPenRecorder recorder(m_window.viewport()->size());
    m_window.viewport()->render(&recorder);
    const QColor text = m_window.palette().color(QPalette::Text);
    EXPECT_EQ(recorder.Drawn(), (std::vector<TextPenRecorder::Text>{{"[ ", QColor(0, 0, 255)}, {"[", text}}));
}

TEST_F(LogWndTest, MouseSelectionCopiesWithCrLf)
{
    Show();
    m_window.OnAddText("hello\r\nworld\r\nfoo bar");
    ASSERT_EQ(m_window.TopLine(), 0);
    std::uint32_t start = 0, end = 0;
    EXPECT_FALSE(m_window.GetSel(nullptr, nullptr));

    QTest::mousePress(m_window.viewport(), Qt::LeftButton, {}, Cell(2, 0));
    QTest::mouseMove(m_window.viewport(), Cell(1, 1));
    QTest::mouseRelease(m_window.viewport(), Qt::LeftButton, {}, Cell(3, 2));
    EXPECT_TRUE(m_window.GetSel(&start, &end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, (2u << 16) | 3u);
    EXPECT_EQ(m_window.GetSelectedText(), "llo\r\nworld\r\nfoo");
    m_window.OnCopy();
    EXPECT_EQ(QApplication::clipboard()->text(), "llo\r\nworld\r\nfoo");

    // Shift extends from the anchor, also backwards.
    QTest::mouseClick(m_window.viewport(), Qt::LeftButton, Qt::ShiftModifier, Cell(0, 0));
    EXPECT_EQ(m_window.GetSelectedText(), "he");

    QTest::keyClick(&m_window, Qt::Key_Escape);
    EXPECT_FALSE(m_window.GetSel(nullptr, nullptr));
}

TEST_F(LogWndTest, DoubleClickSelectsAWord)
{
    Show();
    m_window.OnAddText("x1 bar-baz9  end");
    QTest::mouseDClick(m_window.viewport(), Qt::LeftButton, {}, Cell(8, 0));
    EXPECT_EQ(m_window.GetSelectedText(), "baz9");
    QTest::mouseDClick(m_window.viewport(), Qt::LeftButton, {}, Cell(6, 0));
    EXPECT_EQ(m_window.GetSelectedText(), "-");
    QTest::mouseDClick(m_window.viewport(), Qt::LeftButton, {}, Cell(11, 0));
    EXPECT_FALSE(m_window.GetSel(nullptr, nullptr));
}

TEST_F(LogWndTest, KeysScrollOrGoToTheParent)
{
    KeyParent parent;
    CLogWnd* window = new CLogWnd(QString(), 80, 2000, true, &parent);
    window->resize(400, 10 * window->CharHeight());
    parent.show();
    for (int i = 0; i < 50; ++i)
        window->OnAddText("line\r\n");
    // The refresh scrolls to the newest line.
    QScrollBar* bar = window->verticalScrollBar();
    ASSERT_TRUE(PumpUntil([&] { return bar->maximum() > 0 && window->TopLine() == bar->maximum(); }));
    const int bottom = bar->maximum();

    QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window->TopLine(), 0);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(window->TopLine(), 1);
    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(window->TopLine(), 1 + window->verticalScrollBar()->pageStep());
    QTest::keyClick(window, Qt::Key_PageUp);
    EXPECT_EQ(window->TopLine(), 1);
    QTest::keyClick(window, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window->TopLine(), bottom);

    // An empty batch still scrolls back to the end at the next refresh.
    QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier);
    window->OnAddText("", 0);
    EXPECT_TRUE(PumpUntil([&] { return window->TopLine() == bottom; }));

    parent.pressed.clear();
    parent.released.clear();
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_TRUE(parent.pressed.empty());
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Home);
    QTest::keyClick(window, Qt::Key_A);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(parent.pressed, std::vector<int>({Qt::Key_Up, Qt::Key_Home, Qt::Key_A, Qt::Key_Escape}));
    EXPECT_FALSE(parent.released.empty());
}

TEST_F(LogWndTest, ClearResetsTheScreenOnly)
{
    m_window.m_bAscii = false;
    m_window.OnAddText("ab");
    m_window.Clear();
    EXPECT_TRUE(m_window.Lines().empty());
    EXPECT_EQ(m_window.CursorColumn(), 0u);
    EXPECT_EQ(m_window.TopLine(), 0);
    EXPECT_FALSE(m_window.m_bAscii);
    EXPECT_EQ(m_window.GetReceivedText(), "ab");
}
