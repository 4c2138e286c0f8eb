#include "CSettingsSheets.h"

#include "CParlimDoc.h"
#include "CPropCnTo.h"
#include "CPropPgOP.h"
#include "CPropPort.h"
#include "CPropertySheet.h"
#include "resource.h"

using namespace parlim;

bool CSettingsSheets::RunConnectWizard(CParlimDoc& document, QWidget* parent)
{
    CPropertySheet sheet(CPropertySheet::Mode::Wizard, parent);
    CPropCnTo connectTo;
    CPropPort port(&document);
    CPropPgOP options;
    sheet.AddPage(&connectTo);
    sheet.AddPage(&port);
    sheet.AddPage(&options);
    return sheet.DoModal() == ID_WIZFINISH;
}

void CSettingsSheets::EditConnectionProperties(CParlimDoc& document, QWidget* parent)
{
    const bool connected = document.IsConnected();
    CPropertySheet sheet(CPropertySheet::Mode::Sheet, parent);
    CPropPort port(&document);
    CPropCnTo connectTo;
    port.m_bShowDetect = connected;
    sheet.AddPage(&port);
    if (!connected)
        sheet.AddPage(&connectTo);
    sheet.DoModal();
}

void CSettingsSheets::EditOptions(QWidget* parent)
{
    CPropertySheet sheet(CPropertySheet::Mode::Sheet, parent);
    CPropPgOP options;
    sheet.AddPage(&options);
    sheet.DoModal();
}
