#pragma once
#include <QDialog>

#include <string>

// The About box of every program: caption "About <Program>", product name
// (8601), version (8603), legal notice (8604), OS line (8605), available and
// physical memory (8602, 8607), OK (1) and the program icon.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Version %d.%02d", with ".%02d" of the third number when it is not 0.
    static std::string VersionText(int major, int minor, int patch);
};
