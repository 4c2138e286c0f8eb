#include "CSettingsSheets.h"

#include "CParlimDoc.h"
#include "CPropCnTo.h"
#include "CPropPgOP.h"
#include "CPropPort.h"
#include "CPropertySheet.h"
#include "resource.h"

using namespace parlim;

bool CSettingsSheets::RunConnectWizard(CTerminalSettings& settings, CParlimDoc& document, QWidget* parent)
{
    CPropertySheet sheet(CPropertySheet::Mode::Wizard, parent);
    CPropCnTo connectTo(settings);
    CPropPort port(settings, &document);
    CPropPgOP options(settings);
    sheet.AddPage(&connectTo);
    sheet.AddPage(&port);
    sheet.AddPage(&options);
    return sheet.DoModal() == ID_WIZFINISH;
}

void CSettingsSheets::EditConnectionProperties(CTerminalSettings& settings, CParlimDoc& document, QWidget* parent)
{
    const bool connected = document.IsConnected();
    CPropertySheet sheet(CPropertySheet::Mode::Sheet, parent);
    CPropPort port(settings, &document);
    CPropCnTo connectTo(settings);
    port.m_bShowDetect = connected;
    sheet.AddPage(&port);
    if (!connected)
        sheet.AddPage(&connectTo);
    sheet.DoModal();
}

void CSettingsSheets::EditOptions(CTerminalSettings& settings, QWidget* parent)
{
    CPropertySheet sheet(CPropertySheet::Mode::Sheet, parent);
    CPropPgOP options(settings);
    sheet.AddPage(&options);
    sheet.DoModal();
}
