#include "CFileList.h"

CFileList::CFileList(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CFileList::OnDblclk);
}

void CFileList::OnDblclk()
{
    emit Chosen();
}
