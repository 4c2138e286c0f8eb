#include "CElidedLabel.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace {
// Room for a recorder file name at its longest: eight characters, a point, three.
const char* const kWidestName = "WWWWWWWW.WWW";
} // namespace

CElidedLabel::CElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void CElidedLabel::SetFullText(const QString& text)
{
    m_strFull = text;
    setToolTip(text);
    Elide();
}

QSize CElidedLabel::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(kWidestName), QLabel::sizeHint().height()};
}

QSize CElidedLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance("..."), QLabel::minimumSizeHint().height()};
}

void CElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Elide();
}

void CElidedLabel::Elide()
{
    setText(fontMetrics().elidedText(m_strFull, Qt::ElideMiddle, contentsRect().width()));
}
