#include "CUtilityApp.h"

#include "CCmdLineInfoBase.h"
#include "CUtilityDlg.h"
#include "FailedWriteSignals.h"
#include "HeadlessPlatform.h"
#include "NumericLocale.h"
#include "ProgramIcon.h"
#include "QtMessageBackend.h"
#include "UnpaintedWindows.h"

#include <cstdio>

CUtilityApp::CUtilityApp(int& argc, char** argv, const std::string& programName)
    : m_argc(argc)
    , m_argv(argv)
    , m_bHeadless(false)
{
    platform::SetProgramName(programName);
    platform::LetFailedWritesReturn();
    m_app = platform::CreateApplication(argc, argv);
    platform::UseCNumericLocale();
    m_bHeadless = platform::IsHeadless();
    if (m_bHeadless) {
        m_messages = std::make_unique<platform::HeadlessMessageBackend>();
        m_app->installEventFilter(new UnpaintedWindows(m_app.get()));
    } else {
        m_messages = std::make_unique<platform::QtMessageBackend>();
    }
    platform::SetMessageBackend(m_messages.get());
    QApplication::setWindowIcon(ProgramIcon());
}

CUtilityApp::~CUtilityApp()
{
    platform::SetMessageBackend(nullptr);
}

int CUtilityApp::RunMainDialog(CUtilityDlg& dialog, const CCmdLineInfoBase* commandLine)
{
    if (m_bHeadless && !dialog.m_bAutoRun && commandLine) {
        platform::ShowMessage(commandLine->MissingFilesText());
        return 1;
    }
    if (m_bHeadless && !dialog.m_bAutoRun) {
        std::fprintf(stderr, "%s: no display.\n", platform::ProgramName().c_str());
        return 1;
    }
    dialog.exec();
    return dialog.ExitStatus();
}
