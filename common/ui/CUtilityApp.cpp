#include "CUtilityApp.h"

#include "CUtilityDlg.h"
#include "HeadlessPlatform.h"
#include "NumericLocale.h"
#include "ProgramIcon.h"
#include "QtMessageBackend.h"
#include "UnpaintedWindows.h"

#include <csignal>
#include <cstdio>

namespace {
// A reader that went away (EPIPE) or a file-size limit (EFBIG) makes the
// write fail like a full disk does, reported as such, instead of killing the
// program halfway through an ensemble.
void LetFailedWritesReturn()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}
} // namespace

CUtilityApp::CUtilityApp(int& argc, char** argv, const std::string& programName)
    : m_argc(argc)
    , m_argv(argv)
    , m_bHeadless(false)
{
    platform::SetProgramName(programName);
    LetFailedWritesReturn();
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
