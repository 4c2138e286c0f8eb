#pragma once
#include "WindowFitter.h"

#include <QApplication>

// The one QApplication of a dialog test process, made on first use; its
// windows are fitted into the screen as the programs' are.
inline QApplication& GuiTestApp()
{
    static int argc = 1;
    static char name[] = "qsv-gui-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* application = new QApplication(argc, argv);
        platform::WindowFitter::Install(*application);
        return application;
    }();
    return *app;
}
