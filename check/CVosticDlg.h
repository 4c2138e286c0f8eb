#pragma once
#include "CUtilityDlg.h"

#include <functional>
#include <string>

namespace vostic {
class CCmdLineInfo;
}
class CVosticCheck;
class QCheckBox;
class QLineEdit;

// The checker's main dialog: input and log names, the ensemble-number range,
// the date/time option, "&Check", "&View Log" and the file statistics.
class CVosticDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CVosticDlg(const vostic::CCmdLineInfo& cmdInfo, QWidget* parent = nullptr);

    // The log that "&View Log" opens: the last run's, or the one derived
    // when browsing the input.
    std::string m_strLogFile;
    bool m_bWriteDateTime = false;
    // Opens a file given by its full path (none for an empty path) in the
    // user's text editor; false when no editor could be started. Replaceable
    // for tests.
    std::function<bool(const std::string&)> m_openInEditor;

private slots:
    void OnBrowseInput();
    void OnCheck();
    void OnViewLog();

private:
    void BuildControls();
    QLineEdit* AddStatisticsField(int id);
    void ClearStatistics();
    void ShowStatistics(const CVosticCheck& check);

    QLineEdit* m_edLog;
    QLineEdit* m_edInput;
    QCheckBox* m_btnWriteDateTime;
};
