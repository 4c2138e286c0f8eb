#include "FileSizeColumns.h"

#include "resource.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

using namespace parlim;

namespace {
// A recorder file name at its longest: eight characters, a point, three.
const char* const kWidestName = "WWWWWWWW.WWW";

int FiveMillimetres(const QWidget* widget)
{
    return static_cast<int>(widget->logicalDpiX() * 5 / 25.4);
}
} // namespace

void SetUpFileSizeColumns(QTreeWidget* list, const QString& widestSize)
{
    list->setColumnCount(2);
    list->setHeaderLabels({QString::fromStdString(LoadResString(IDS_FILE_NAME)),
                           QString::fromStdString(LoadResString(IDS_SIZE))});
    const QFontMetrics metrics(list->font());
    const int sizeWidth = metrics.horizontalAdvance(widestSize) + FiveMillimetres(list);
    // Widths taken before the dialog is laid out would leave the name a few
    // pixels and show "..."; the header shares the space out at every resize.
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->resizeSection(1, sizeWidth);
    const int nameWidth = metrics.horizontalAdvance(kWidestName) + FiveMillimetres(list);
    list->setMinimumWidth(nameWidth + sizeWidth + 2 * list->frameWidth());
}
