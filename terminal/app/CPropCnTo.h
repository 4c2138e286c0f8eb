#pragma once
#include "CPropertyPage.h"

class QComboBox;
struct CTerminalSettings;

// "Connect To": the instrument type and one of the COM ports free right now.
class CPropCnTo : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kMustSelectPort = "You Must Select A Com Port";

    explicit CPropCnTo(CTerminalSettings& settings);

    bool OnApply() override;
    bool OnWizardNext() override;

protected:
    void OnInitDialog() override;

private:
    void StoreDeviceType();
    // The chosen port into the slot; false (with the message) when none is chosen.
    bool StorePort();

    CTerminalSettings& m_settings;
    QComboBox* m_deviceCombo;
    QComboBox* m_portCombo;
};
