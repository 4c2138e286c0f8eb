#pragma once
#include "CCmdLineInfo.h"
#include "CUtilityApp.h"

// The checker's application: command line, settings under "QSV/Vostic", the
// main dialog, and the exit status of the program.
class CVosticApp : public CUtilityApp {
public:
    CVosticApp(int& argc, char** argv);

    int InitInstance();

    vostic::CCmdLineInfo m_cmdInfo;
};
