#pragma once
#include "CUtilityDlg.h"

namespace pelmar {
class CCmdLineInfo;
}
class QLineEdit;

// The slicer's main dialog: input file, slice prefix, maximum size, "&Slice".
class CPelmarDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CPelmarDlg(const pelmar::CCmdLineInfo& cmdInfo, QWidget* parent = nullptr);

private slots:
    void OnSlice();

private:
    void BuildControls();
    void FillFromCommandLine();

    const pelmar::CCmdLineInfo& m_cmdInfo;
    QLineEdit* m_edOutputPrefix;
    QLineEdit* m_edInput;
    QLineEdit* m_edMaxSize;
};
