#pragma once
#include "CParam.h"
#include "CUtilityDlg.h"

#include <array>

class CExpressionView;
class CNumEdit;
class QGridLayout;
class QGroupBox;
class QPushButton;

// The calculator's one dialog: inputs, computed speed, reference and
// coefficient. Results are shown only for the inputs last applied; editing
// an input empties them until the next Apply.
class CZarnelDlg : public CUtilityDlg {
    Q_OBJECT
public:
    explicit CZarnelDlg(QWidget* parent = nullptr);
    ~CZarnelDlg() override;

    const CParam& Param() const { return m_param; }

private slots:
    void OnParamChange();
    void OnApply();
    void OnSetToC();

private:
    enum Input { Temperature, Salinity, Depth, Reference, InputCount };

    void CreateControls();
    QGroupBox* CreateParametersGroup();
    QGroupBox* CreateSpeedGroup();
    QPushButton* CreateButton(const char* text, int id);
    CNumEdit* AddEditRow(QGridLayout* grid, int row, const char* label, int id, const char* unit);
    void ConnectControls();

    void ParamsToEdits();
    void EditsToParams();
    void ShowResults();
    bool ValidateInputs();
    bool ValidateInput(Input input);
    void SetResultsCurrent(bool current);

    CExpressionView* m_expression = nullptr;
    CNumEdit* m_editC = nullptr;
    CNumEdit* m_editCoefficient = nullptr;
    std::array<CNumEdit*, InputCount> m_editInputs{};
    QPushButton* m_setToCButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    CParam m_param;
};
