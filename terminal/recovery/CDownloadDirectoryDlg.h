#pragma once
#include <QDialog>

#include <string>

class CSaveComboBox;

// "Download Directory": an existing directory for the recovered files,
// typed, chosen with "..." or taken from the recent list.
class CDownloadDirectoryDlg : public QDialog {
    Q_OBJECT
public:
    CDownloadDirectoryDlg(const std::string& prefix, const std::string& section, QWidget* parent = nullptr);

    void OnBrowse();
    void OnOK();

    CSaveComboBox* m_comboDirectory = nullptr;
    std::string m_strDirectory;

protected:
    void accept() override;
    void done(int result) override;

private:
    QWidget* m_okButton = nullptr;
};
