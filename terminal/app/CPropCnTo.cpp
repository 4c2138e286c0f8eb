#include "CPropCnTo.h"

#include "CTerminalSettings.h"
#include "Messages.h"
#include "PortConfig.h"
#include "PortProbe.h"
#include "resource.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace parlim;

namespace {

// A titled group with one labelled combo box, added to the page's layout.
void AddComboGroup(QVBoxLayout* layout, int groupId, const char* title, int labelId, const char* labelText,
                   QComboBox* combo)
{
    QWidget* page = layout->parentWidget();
    auto* group = new QGroupBox(title, page);
    group->setObjectName(QString::number(groupId));
    auto* label = new QLabel(labelText, page);
    label->setObjectName(QString::number(labelId));
    label->setBuddy(combo);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(label, 0, 0);
    groupLayout->addWidget(combo, 0, 1);
    layout->addWidget(group);
}

} // namespace

CPropCnTo::CPropCnTo(CTerminalSettings& settings)
    : CPropertyPage(IDD_PROP_CONNECT_TO, "Connect To"), m_settings(settings),
      m_deviceCombo(IdCombo(IDC_DEVICE_COMBO)), m_portCombo(IdCombo(IDC_PORT_COMBO))
{
    auto* layout = new QVBoxLayout(this);
    AddComboGroup(layout, IDC_ADCP_TYPE_GROUP, "ADCP Type", IDC_DEVICE_LABEL, "&Device:", m_deviceCombo);
    AddComboGroup(layout, IDC_CONNECT_USING_GROUP, "Connect Using", IDC_PORT_LABEL, "COM &Port :", m_portCombo);
    layout->addStretch();

    for (QComboBox* combo : {m_deviceCombo, m_portCombo})
        connect(combo, &QComboBox::activated, this, [this] { SetModified(true); });
}

void CPropCnTo::OnInitDialog()
{
    const CPortSettings& slot = m_settings.CurrentSlot();
    for (int type = 0; type < kDeviceTypeCount; ++type)
        m_deviceCombo->addItem(QString::fromStdString(LoadResString(IDS_DEVICE_FIRST + type)));
    int selected = -1;
    for (const auto& [number, name] : PortProbe::FreePorts()) {
        m_portCombo->addItem(QString::fromStdString(name), number);
        if (number == slot.m_nPort + 1)
            selected = m_portCombo->count() - 1;
    }
    m_deviceCombo->setCurrentIndex(slot.m_nDeviceType);
    m_portCombo->setCurrentIndex(selected >= 0 ? selected : (m_portCombo->count() > 0 ? 0 : -1));
}

void CPropCnTo::StoreDeviceType()
{
    m_settings.CurrentSlot().m_nDeviceType = m_deviceCombo->currentIndex();
}

bool CPropCnTo::StorePort()
{
    if (m_portCombo->currentIndex() < 0) {
        platform::ShowMessage(kMustSelectPort);
        return false;
    }
    m_settings.CurrentSlot().m_nPort = m_portCombo->currentData().toInt() - 1;
    return true;
}

bool CPropCnTo::OnApply()
{
    StoreDeviceType();
    return StorePort();
}

bool CPropCnTo::OnWizardNext()
{
    StoreDeviceType();
    m_settings.m_bEcho = m_settings.CurrentSlot().m_nDeviceType == kTesk;
    return StorePort();
}
