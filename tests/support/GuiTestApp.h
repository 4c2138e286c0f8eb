#pragma once
#include <QApplication>

// The one QApplication of a dialog test process, made on first use.
inline QApplication& GuiTestApp()
{
    static int argc = 1;
    static char name[] = "qsv-gui-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
