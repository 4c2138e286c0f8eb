#pragma once
class CParlimDoc;
class QWidget;
struct CTerminalSettings;

// The property sheets that edit a connection's settings: the connect wizard
// of a new connection, its Properties and the Options.
class CSettingsSheets {
public:
    // Connect To, Port Settings and Options in turn; true when finished.
    static bool RunConnectWizard(CTerminalSettings& settings, CParlimDoc& document, QWidget* parent);
    // Port Settings (with auto-detection while connected), and Connect To
    // while not connected.
    static void EditConnectionProperties(CTerminalSettings& settings, CParlimDoc& document, QWidget* parent);
    static void EditOptions(CTerminalSettings& settings, QWidget* parent);
};
