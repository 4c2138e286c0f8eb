#pragma once
#include "CMergeRun.h"
#include "CUtilityDlg.h"

namespace quenta {
class CCmdLineInfo;
}
class QGridLayout;
class QLineEdit;

// Quenta's main dialog: the four file names, the ensemble range and "&Merge".
class CQuentaDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CQuentaDlg(const quenta::CCmdLineInfo& cmdInfo, QWidget* parent = nullptr);

private slots:
    void OnMerge();

private:
    // A file name row whose browse button chooses a file of `kind`.
    QLineEdit* AddFileField(QGridLayout* grid, int row, const char* label, int editId, int browseId, FileKind kind);
    void AddButtons(QGridLayout* grid, int row);
    void FillFields(const quenta::CCmdLineInfo& cmdInfo);
    MergeFields FieldTexts() const;

    QLineEdit* m_edAscii;
    QLineEdit* m_edDecoder;
    QLineEdit* m_edOutput;
    QLineEdit* m_edInput;
    QLineEdit* m_edStart;
    QLineEdit* m_edEnd;
};
