#include "CExpressionView.h"

#include "resource.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

using namespace zarnel;

namespace {

constexpr int kPictureFontPixels = 14;
constexpr int kMargin = 4;

// The equations as typeset, in two lines each; the second line continues the
// sum below the first term.
const QStringList& SimpleLines()
{
    static const QStringList lines{
        QStringLiteral("C = 1449.2 + 4.6T \u2212 0.055T\u00B2 + 0.00029T\u00B3"),
        QStringLiteral("+ (1.34 \u2212 0.01T)(S \u2212 35) + 0.016D"),
    };
    return lines;
}

const QStringList& NineTermLines()
{
    static const QStringList lines{
        QStringLiteral("C = 1448.96 + 4.591T \u2212 0.05304T\u00B2 + 2.374\u00B710\u207B\u2074T\u00B3"
                       " + 1.34(S \u2212 35)"),
        QStringLiteral("+ 0.0163D + 1.675\u00B710\u207B\u2077D\u00B2 \u2212 0.01025T(S \u2212 35)"
                       " \u2212 7.139\u00B710\u207B\u00B9\u00B3TD\u00B3"),
    };
    return lines;
}

const QString& ContinuationIndent()
{
    static const QString indent = QStringLiteral("C = ");
    return indent;
}

} // namespace

CExpressionView::CExpressionView(QWidget* parent)
    : QLabel(QString::fromUtf8(IDS_EXPRESSION_STATIC), parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CExpressionView::SetNineTerm(bool nineTerm)
{
    m_bNineTerm = nineTerm;
    update();
}

QStringList CExpressionView::Lines() const
{
    return m_bNineTerm ? NineTermLines() : SimpleLines();
}

QFont CExpressionView::PictureFont() const
{
    QFont pictureFont = font();
    pictureFont.setPixelSize(kPictureFontPixels);
    pictureFont.setItalic(true);
    return pictureFont;
}

int CExpressionView::LinesWidth(const QStringList& lines) const
{
    const QFontMetrics metrics(PictureFont());
    const int indent = metrics.horizontalAdvance(ContinuationIndent());
    int width = metrics.horizontalAdvance(lines.front());
    for (qsizetype i = 1; i < lines.size(); ++i)
        width = std::max(width, indent + metrics.horizontalAdvance(lines[i]));
    return width;
}

QSize CExpressionView::PictureSize() const
{
    // Both equations share one picture size, so the text keeps its scale and
    // the dialog its size when the equation changes.
    const int width = std::max(LinesWidth(SimpleLines()), LinesWidth(NineTermLines()));
    const int lineCount = static_cast<int>(std::max(SimpleLines().size(), NineTermLines().size()));
    const int height = QFontMetrics(PictureFont()).lineSpacing() * lineCount;
    return {width + 2 * kMargin, height + 2 * kMargin};
}

QRect CExpressionView::PictureRect() const
{
    return {0, 0, width(), heightForWidth(width())};
}

int CExpressionView::heightForWidth(int width) const
{
    const QSize picture = PictureSize();
    return picture.height() * width / picture.width();
}

void CExpressionView::resizeEvent(QResizeEvent* event)
{
    // Layouts of fixed-size dialogs ignore height-for-width; the control
    // takes the height that keeps the picture's proportions itself.
    QLabel::resizeEvent(event);
    const int pictureHeight = heightForWidth(event->size().width());
    if (pictureHeight != event->size().height())
        setFixedHeight(pictureHeight);
}

void CExpressionView::paintEvent(QPaintEvent*)
{
    const QSize picture = PictureSize();
    const QRect target = PictureRect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(target, palette().color(QPalette::Base));
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / picture.width(), double(target.height()) / picture.height());

    painter.setFont(PictureFont());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics(PictureFont());
    const int indent = metrics.horizontalAdvance(ContinuationIndent());
    const QStringList lines = Lines();
    int baseline = kMargin + metrics.ascent();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.drawText(kMargin + (i == 0 ? 0 : indent), baseline, lines[i]);
        baseline += metrics.lineSpacing();
    }
}
