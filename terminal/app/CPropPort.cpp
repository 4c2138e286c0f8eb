#include "CPropPort.h"

#include "CTerminalSettings.h"
#include "CParlimDoc.h"
#include "CPropertySheet.h"
#include "Messages.h"
#include "resource.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace parlim;

namespace {

constexpr int kParityNoneIndex = 2;
constexpr int kOneStopBitIndex = 0;

void FillFromStrings(QComboBox* combo, int firstId, int count)
{
    for (int i = 0; i < count; ++i)
        combo->addItem(QString::fromStdString(LoadResString(firstId + i)));
}

} // namespace

CPropPort::CPropPort(CTerminalSettings& settings, CParlimDoc* document)
    : CPropertyPage(IDD_PROP_PORT, "Port Settings"), m_settings(settings), m_pDoc(document),
      m_baudCombo(IdCombo(IDC_BAUD_COMBO)), m_parityCombo(IdCombo(IDC_PARITY_COMBO)),
      m_stopBitsCombo(IdCombo(IDC_STOP_BITS_COMBO)), m_flowCombo(IdCombo(IDC_FLOW_COMBO)),
      m_detectButton(new QPushButton("Auto Detect ADCP...", this))
{
    m_detectButton->setObjectName(QString::number(IDC_AUTO_DETECT));
    m_detectButton->hide();
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("&Connection Preferences", this);
    group->setObjectName(QString::number(IDC_CONNECTION_GROUP));
    auto* form = new QFormLayout(group);
    form->addRow("&Baud Rate:", m_baudCombo);
    form->addRow("&Parity :", m_parityCombo);
    form->addRow("&Stop Bits :", m_stopBitsCombo);
    form->addRow("&Flow Control :", m_flowCombo);
    layout->addWidget(group);
    layout->addWidget(m_detectButton);
    layout->addStretch();

    for (QComboBox* combo : {m_baudCombo, m_parityCombo, m_stopBitsCombo, m_flowCombo})
        connect(combo, &QComboBox::activated, this, [this] { SetModified(true); });
    connect(m_detectButton, &QPushButton::clicked, this, &CPropPort::OnAutoDetect);
}

void CPropPort::OnAutoDetect()
{
    if (!m_pDoc || !m_pDoc->IsConnected())
        return;
    if (!m_pDoc->DetectInstrumentForPage(this)) {
        platform::ShowMessage(LoadResString(IDS_ADCP_NOT_DETECTED));
        return;
    }
    m_baudCombo->setCurrentIndex(m_pDoc->LineSettings().m_nBaud + 1);
    m_parityCombo->setCurrentIndex(kParityNoneIndex);
    m_stopBitsCombo->setCurrentIndex(kOneStopBitIndex);
    OnApply();
    platform::ShowMessage(LoadResString(IDS_ADCP_DETECTED), platform::MB_OK | platform::MB_ICONINFORMATION);
}

void CPropPort::OnInitDialog()
{
    m_detectButton->setVisible(m_bShowDetect);
    FillFromStrings(m_baudCombo, IDS_BAUD_FIRST, kBaudCount);
    FillFromStrings(m_parityCombo, IDS_PARITY_FIRST, kParityCount);
    m_stopBitsCombo->addItem(QString::fromStdString(LoadResString(IDS_STOP_BITS_ONE)));
    m_stopBitsCombo->addItem(QString::fromStdString(LoadResString(IDS_STOP_BITS_TWO)));
    FillFromStrings(m_flowCombo, IDS_FLOW_FIRST, kFlowCount);

    const CPortSettings& slot = m_settings.CurrentSlot();
    m_baudCombo->setCurrentIndex(slot.m_nBaud + 1);
    m_parityCombo->setCurrentIndex(slot.m_nParity);
    m_stopBitsCombo->setCurrentIndex(slot.m_nStopBits != 0 ? 1 : 0);
    m_flowCombo->setCurrentIndex(slot.m_nFlow);
}

void CPropPort::StoreSelections()
{
    CPortSettings& slot = m_settings.CurrentSlot();
    slot.m_nBaud = m_baudCombo->currentIndex() - 1;
    slot.m_nParity = m_parityCombo->currentIndex();
    slot.m_nStopBits = m_stopBitsCombo->currentIndex() == 1 ? 2 : 0;
    slot.m_nFlow = m_flowCombo->currentIndex();
}

bool CPropPort::OnApply()
{
    StoreSelections();
    return true;
}

bool CPropPort::OnWizardNext()
{
    StoreSelections();
    if (CPropertySheet* sheet = Sheet())
        sheet->SetFinishText(kFinishText);
    return true;
}
