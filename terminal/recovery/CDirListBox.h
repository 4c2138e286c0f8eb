#pragma once
#include <QListWidget>

#include <string>

// The levels of the current directory's path, then its sub-directories one
// indent step deeper. Filling it makes the directory the process's current
// directory.
class CDirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CDirListBox(QWidget* parent = nullptr);

    // False when the directory cannot be entered (the user is told and the
    // list stays as it was).
    bool Fill(const std::string& path);
    // Makes the directory the process's current one; false, with the user
    // told, when it cannot be entered.
    static bool EnterDirectory(const std::string& path);
    bool GetSelectedPath(std::string& path) const;
    void GetCurrentPath(std::string& path) const;

private:
    std::pair<int, int> CellOf(const QModelIndex& index, bool selected) const;
    void AddItem(const std::string& text, int level);
};
