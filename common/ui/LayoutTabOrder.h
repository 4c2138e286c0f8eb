#pragma once
#include <vector>

class QLayout;
class QWidget;

// The widgets that Tab stops at, in the order a layout reads: a grid or a
// form row by row and left to right, a box in its own order, and a widget
// that carries a layout of its own (a group box) with its contents in place.
std::vector<QWidget*> TabStopsInLayoutOrder(const QLayout* layout);

// Chains the tab stops of the window's layout in that order, so Tab walks
// them row by row whatever order they were created in. Returns the first
// stop, or nullptr when there is none.
QWidget* ChainTabsInLayoutOrder(QWidget* window);
