#pragma once
#include <QStyledItemDelegate>

#include <functional>

// Paints an item of the directory chooser's lists: an icon of the strip,
// indented by its level, then the text on one line, ampersands literal.
class CDirItemDelegate : public QStyledItemDelegate {
public:
    // Gives the icon cell and indent of an item.
    using CellOf = std::function<std::pair<int, int>(const QModelIndex& index, bool selected)>;

    CDirItemDelegate(CellOf cellOf, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CellOf m_cellOf;
};
