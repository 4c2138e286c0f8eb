#include "LayoutTabOrder.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace {

using Cell = std::tuple<int, int, QLayoutItem*>;

// The items of a layout in reading order: row, then column.
std::vector<QLayoutItem*> ItemsInReadingOrder(const QLayout* layout)
{
    std::vector<Cell> cells;
    const auto* grid = qobject_cast<const QGridLayout*>(layout);
    const auto* form = qobject_cast<const QFormLayout*>(layout);
    for (int index = 0; index < layout->count(); ++index) {
        int row = 0;
        int column = index;
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        } else if (form) {
            QFormLayout::ItemRole role = QFormLayout::LabelRole;
            form->getItemPosition(index, &row, &role);
            column = static_cast<int>(role);
        }
        cells.emplace_back(row, column, layout->itemAt(index));
    }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<QLayoutItem*> items;
    for (const Cell& cell : cells)
        items.push_back(std::get<2>(cell));
    return items;
}

void CollectTabStops(const QLayout* layout, std::vector<QWidget*>& stops)
{
    for (QLayoutItem* item : ItemsInReadingOrder(layout)) {
        if (QWidget* widget = item->widget()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                stops.push_back(widget);
            if (widget->layout())
                CollectTabStops(widget->layout(), stops);
        } else if (QLayout* inner = item->layout()) {
            CollectTabStops(inner, stops);
        }
    }
}

} // namespace

std::vector<QWidget*> TabStopsInLayoutOrder(const QLayout* layout)
{
    std::vector<QWidget*> stops;
    if (layout)
        CollectTabStops(layout, stops);
    return stops;
}

QWidget* ChainTabsInLayoutOrder(QWidget* window)
{
    const std::vector<QWidget*> stops = TabStopsInLayoutOrder(window->layout());
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
    return stops.empty() ? nullptr : stops.front();
}
