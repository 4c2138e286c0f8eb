#pragma once
#include "CPropertyPage.h"

#include <map>

class QCheckBox;
struct CTerminalSettings;

// "Options": four options of the current slot and four of the whole terminal.
class CPropPgOP : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropPgOP(CTerminalSettings& settings);

    bool OnApply() override;
    bool OnWizardFinish() override;

protected:
    void OnInitDialog() override;

private:
    QCheckBox* AddBox(int id, const char* text);
    void StoreBoxes();
    bool IsChecked(int id) const;
    void SetChecked(int id, bool on);

    CTerminalSettings& m_settings;
    std::map<int, QCheckBox*> m_boxes;
};
