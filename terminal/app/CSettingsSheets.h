#pragma once
class CParlimDoc;
class QWidget;

// The property sheets that edit a connection's settings: the connect wizard
// of a new connection, its Properties and the Options.
class CSettingsSheets {
public:
    // Connect To, Port Settings and Options in turn; true when finished.
    static bool RunConnectWizard(CParlimDoc& document, QWidget* parent);
    // Port Settings (with auto-detection while connected), and Connect To
    // while not connected.
    static void EditConnectionProperties(CParlimDoc& document, QWidget* parent);
    static void EditOptions(QWidget* parent);
};
