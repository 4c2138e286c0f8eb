#pragma once
#include <QFileDialog>

#include <string>

// Flags of the browse buttons, with their classic values.
constexpr unsigned OFN_HIDEREADONLY = 0x4;
constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;

// The utilities' file dialog: caption and accept button show the title
// ("Select"); OFN_FILEMUSTEXIST accepts existing files only; filters come as
// "Name (*.ext)|*.ext||" tables.
class CSelectFileDlg : public QFileDialog {
    Q_OBJECT
public:
    CSelectFileDlg(const std::string& title, bool openDialog, const std::string& defaultExt,
                   const std::string& fileName, unsigned flags, const std::string& filter,
                   QWidget* parent = nullptr);

    // Directory the dialog starts in (the directory of the last name of its kind).
    void SetInitialDir(const std::string& directory);
    // IDOK or IDCANCEL.
    int DoModal();
    // Full path of the chosen file, as the bytes of its name.
    std::string GetPathName() const;

    // Also takes an existing file whose name is not valid UTF-8, which the
    // dialog's own check, made on the shown text, cannot find.
    void accept() override;

private:
    void FitDetailColumns();

    std::string m_strFileName;
    std::string m_strInitialDir;
};
