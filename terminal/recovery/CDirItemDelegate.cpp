#include "CDirItemDelegate.h"

#include "CDirBitmap.h"

#include <QApplication>
#include <QPainter>

CDirItemDelegate::CDirItemDelegate(CellOf cellOf, QObject* parent)
    : QStyledItemDelegate(parent), m_cellOf(std::move(cellOf))
{
}

void CDirItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    const QPalette& palette = option.palette;
    // A selected item of a list without the focus is not highlighted.
    const bool highlight = selected && (focused || option.state.testFlag(QStyle::State_Active));
    painter->fillRect(option.rect, highlight ? palette.highlight() : palette.base());
    painter->setPen(highlight ? palette.highlightedText().color() : palette.text().color());
    const auto [cell, indent] = m_cellOf(index, selected);
    const int x = option.rect.left() + 4 * indent + 3;
    const int height = option.rect.height();
    const int y = height > CDirBitmap::kCell ? option.rect.top() + (height - CDirBitmap::kCell) / 2 : option.rect.top();
    g_dirBitmap().Draw(*painter, x, y, cell);
    QRect textRect = option.rect;
    textRect.setLeft(x + CDirBitmap::kCell + 3);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize CDirItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(CDirBitmap::kCell, option.fontMetrics.height()));
    return size;
}
