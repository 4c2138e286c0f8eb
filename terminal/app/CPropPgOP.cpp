#include "CPropPgOP.h"

#include "CTerminalSettings.h"
#include "PortConfig.h"
#include "resource.h"

#include <QCheckBox>
#include <QVBoxLayout>

using namespace parlim;

CPropPgOP::CPropPgOP(CTerminalSettings& settings) : CPropertyPage(IDD_PROP_OPTIONS, "Options"), m_settings(settings)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddBox(IDC_BREAK_ON_CONNECT, "&Send Break On New Connection"));
    layout->addWidget(AddBox(IDC_CONNECT_ON_STARTUP, "&Connect To Last Open Port On Startup"));
    layout->addWidget(AddBox(IDC_SCRIPT_ERROR_CHECK, "&Error Checking For Script Files"));
    layout->addWidget(AddBox(IDC_OVERWRITE_LOG, "&Overwrite Log Files When Opening"));
    layout->addWidget(AddBox(IDC_SEND_CK, "Send CK On Baud Rate Change (CB Command)"));
    layout->addWidget(AddBox(IDC_SOFTWARE_BREAK, "&Use Software Break (\"===\") With Radio Modems"));
    layout->addWidget(AddBox(IDC_ECHO, "Echo Characters"));
    layout->addWidget(AddBox(IDC_WAIT_FOR_PROMPT, "Wait for Prompt in Script File"));
    layout->addStretch();
}

QCheckBox* CPropPgOP::AddBox(int id, const char* text)
{
    auto* box = new QCheckBox(QString::fromUtf8(text), this);
    box->setObjectName(QString::number(id));
    connect(box, &QCheckBox::clicked, this, [this] { SetModified(true); });
    m_boxes[id] = box;
    return box;
}

bool CPropPgOP::IsChecked(int id) const
{
    return m_boxes.at(id)->isChecked();
}

void CPropPgOP::SetChecked(int id, bool on)
{
    m_boxes.at(id)->setChecked(on);
}

void CPropPgOP::OnInitDialog()
{
    const CPortSettings& slot = m_settings.CurrentSlot();
    SetChecked(IDC_BREAK_ON_CONNECT, slot.m_bBreakOnConnect != 0);
    SetChecked(IDC_CONNECT_ON_STARTUP, slot.m_bConnectOnStartup != 0);
    SetChecked(IDC_SCRIPT_ERROR_CHECK, slot.m_bScriptErrorCheck != 0);
    SetChecked(IDC_OVERWRITE_LOG, slot.m_bOverwriteLog != 0);
    SetChecked(IDC_SEND_CK, m_settings.m_bSendCK);
    SetChecked(IDC_SOFTWARE_BREAK, m_settings.m_bSoftwareBreak);
    SetChecked(IDC_ECHO, m_settings.m_bEcho);
    SetChecked(IDC_WAIT_FOR_PROMPT, m_settings.m_nPromptWait != 0);
    if (slot.m_nDeviceType == DeviceType::kGlissom) {
        m_boxes.at(IDC_SOFTWARE_BREAK)->hide();
        m_boxes.at(IDC_SEND_CK)->hide();
    }
}

void CPropPgOP::StoreBoxes()
{
    CPortSettings& slot = m_settings.CurrentSlot();
    slot.m_bBreakOnConnect = IsChecked(IDC_BREAK_ON_CONNECT);
    slot.m_bConnectOnStartup = IsChecked(IDC_CONNECT_ON_STARTUP);
    slot.m_bScriptErrorCheck = IsChecked(IDC_SCRIPT_ERROR_CHECK);
    slot.m_bOverwriteLog = IsChecked(IDC_OVERWRITE_LOG);
    m_settings.m_bSendCK = IsChecked(IDC_SEND_CK);
    m_settings.m_bSoftwareBreak = IsChecked(IDC_SOFTWARE_BREAK);
    m_settings.m_bEcho = IsChecked(IDC_ECHO);
    m_settings.m_nPromptWait = IsChecked(IDC_WAIT_FOR_PROMPT) ? CTerminalSettings::kPromptWaitSeconds : 0;
}

bool CPropPgOP::OnApply()
{
    StoreBoxes();
    return true;
}

bool CPropPgOP::OnWizardFinish()
{
    StoreBoxes();
    if (m_settings.CurrentSlot().m_nDeviceType == DeviceType::kGlissom) {
        m_settings.m_bSoftwareBreak = false;
        m_settings.m_bSendCK = false;
    }
    return true;
}
