#pragma once
#include <QDialog>

#include <string>

class CDirListBox;
class CDrivesComboBox;
class QLineEdit;

// "Choose Directory": picks an existing directory by its path levels, its
// sub-directories and the mounted volumes. Navigating changes the process's
// current directory.
class CKelvDRDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKelvDRDlg(const std::string& initialDir = std::string(), QWidget* parent = nullptr);

    void OnOK();
    void OnSelchangeDirList();
    void OnSelchangeDrives();
    void FillDirList();
    void SelectDriveOfEdit();

    QLineEdit* m_edit = nullptr;
    CDirListBox* m_dirList = nullptr;
    CDrivesComboBox* m_drives = nullptr;
    std::string m_strInitialDir;
    // Always ends in a slash.
    std::string m_strChosenPath;

protected:
    void accept() override;

private:
    void OnInitDialog();
};
