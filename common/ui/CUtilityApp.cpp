#include "CUtilityApp.h"

#include "CUtilityDlg.h"
#include "HeadlessPlatform.h"
#include "NumericLocale.h"
#include "ProgramIcon.h"
#include "QtMessageBackend.h"

#include <cstdio>

CUtilityApp::CUtilityApp(int& argc, char** argv, const std::string& programName)
    : m_argc(argc)
    , m_argv(argv)
    , m_bHeadless(false)
{
    platform::SetProgramName(programName);
    m_app = platform::CreateApplication(argc, argv);
    platform::UseCNumericLocale();
    m_bHeadless = platform::IsHeadless();
    if (m_bHeadless)
        m_messages = std::make_unique<platform::HeadlessMessageBackend>();
    else
        m_messages = std::make_unique<platform::QtMessageBackend>();
    platform::SetMessageBackend(m_messages.get());
    QApplication::setWindowIcon(ProgramIcon());
}

CUtilityApp::~CUtilityApp()
{
    platform::SetMessageBackend(nullptr);
}

int CUtilityApp::RunMainDialog(CUtilityDlg& dialog, CommandLine commandLine)
{
    if (m_bHeadless && !dialog.m_bAutoRun) {
        const char* reason = commandLine == CommandLine::Files
            ? "no display, and the command line does not name every file."
            : "no display.";
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), reason);
        return 1;
    }
    dialog.exec();
    return dialog.ExitStatus();
}
