#pragma once
#include "CUtilityDlg.h"

namespace dralin {
class CCmdLineInfo;
}
class QLineEdit;

// Dralin's main dialog: the input, decoder and output names, the ensemble
// range, and "&Convert", which runs one conversion under the progress window.
class CDralinDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CDralinDlg(const dralin::CCmdLineInfo& cmdInfo, QWidget* parent = nullptr);

private slots:
    void OnConvert();

private:
    void BuildControls();

    QLineEdit* m_edDecoder = nullptr;
    QLineEdit* m_edOutput = nullptr;
    QLineEdit* m_edInput = nullptr;
};
