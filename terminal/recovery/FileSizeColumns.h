#pragma once

class QString;
class QTreeWidget;

// The "File Name" and "Size" columns of a recovery list. "Size" is as wide
// as `widestSize` plus 5 mm; "File Name" takes the rest of the list's width
// whatever the list's final size, and the list is wide enough for a full
// recorder file name beside the sizes.
void SetUpFileSizeColumns(QTreeWidget* list, const QString& widestSize);
