#pragma once
#include "CPropertyPage.h"

class CParlimDoc;
class QComboBox;
class QPushButton;
struct CTerminalSettings;

// "Port Settings": baud rate, parity, stop bits and flow control of the
// current slot, and the instrument detection while the port is open.
class CPropPort : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kFinishText = "&Finish";

    CPropPort(CTerminalSettings& settings, CParlimDoc* document);

    bool OnApply() override;
    bool OnWizardNext() override;

    // Set by the document while its port is open: the detection button shows.
    bool m_bShowDetect = false;

protected:
    void OnInitDialog() override;

private:
    void StoreSelections();
    // The "Auto Detect ADCP..." button.
    void OnAutoDetect();

    CTerminalSettings& m_settings;
    CParlimDoc* m_pDoc;
    QComboBox* m_baudCombo;
    QComboBox* m_parityCombo;
    QComboBox* m_stopBitsCombo;
    QComboBox* m_flowCombo;
    QPushButton* m_detectButton;
};
