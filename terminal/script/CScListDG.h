#pragma once
#include "COkCancelDialog.h"

#include <QString>

#include <string>

class CSaveComboBox;
class QCheckBox;
class QFileDialog;
class QLabel;
struct CTerminalSettings;

// "Recent Files": a script file or a log file chosen from a recent list or by
// browsing, with one option check box of the settings' current slot.
class CScListDG : public COkCancelDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 140;
    static constexpr int kComboId = 1020;
    static constexpr int kLabelId = 1021;
    static constexpr int kBrowseId = 1019;
    static constexpr int kCheckId = 1024;
    static constexpr const char* kCannotBeBlank = "Cannot Be Blank";

    // The recent list of script files, or (scriptMode false) of log files.
    CScListDG(CTerminalSettings& settings, bool scriptMode, bool hideCheck, QWidget* parent = nullptr);
    ~CScListDG() override;

    std::string GetSelection() const { return m_strFile; }

    void done(int result) override;

private:
    void OnInitDialog();
    void OnOK() override;
    void OnBrowse();
    void BrowseScript();
    void BrowseLog();
    // Runs the file dialog from the folder last used for that value; a chosen
    // file goes into the combo box.
    bool ChooseFile(QFileDialog& dialog, const char* directoryValue);

    CTerminalSettings& m_settings;
    QCheckBox* m_checkBox;
    QLabel* m_label;
    CSaveComboBox* m_combo;
    std::string m_strFile;
    bool m_bScriptMode;
    bool m_bHideCheck;
};
