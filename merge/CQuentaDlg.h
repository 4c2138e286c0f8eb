#pragma once
#include "CUtilityDlg.h"

class CCmdLineInfo;
class QGridLayout;
class QLineEdit;
struct MergeFields;

// Quenta's main dialog: the four file names, the ensemble range and "&Merge".
class CQuentaDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CQuentaDlg(const CCmdLineInfo& cmdInfo, QWidget* parent = nullptr);

private slots:
    void OnBrowseInput();
    void OnBrowseDecoder();
    void OnBrowseAscii();
    void OnBrowseOutput();
    void OnMerge();

private:
    QLineEdit* AddFileRow(QGridLayout* grid, int row, const char* label, int editId, int browseId);
    QLineEdit* AddNumberRow(QGridLayout* grid, int row, const char* label, const char* note, int editId);
    void AddButtons(QGridLayout* grid, int row);
    void FillFields(const CCmdLineInfo& cmdInfo);
    MergeFields FieldTexts() const;

    QLineEdit* m_edAscii;
    QLineEdit* m_edDecoder;
    QLineEdit* m_edOutput;
    QLineEdit* m_edInput;
    QLineEdit* m_edStart;
    QLineEdit* m_edEnd;
};
