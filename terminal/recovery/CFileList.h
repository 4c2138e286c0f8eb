#pragma once
#include <QTreeWidget>

// The recorder's file list: a double click chooses the row and closes the
// dialog, as its OK button does.
class CFileList : public QTreeWidget {
    Q_OBJECT
public:
    explicit CFileList(QWidget* parent = nullptr);

signals:
    void Chosen();

private:
    void OnDblclk();
};
