#pragma once
#include "Messages.h"

#include <QApplication>

#include <memory>
#include <string>

class CCmdLineInfoBase;
class CUtilityDlg;

// Application start of a utility: program name, headless choice, the
// QApplication, C numbers, the message backend and the window icon. The
// command line is left to the program (argc/argv without Qt's own options).
class CUtilityApp {
public:
    // programName as shown and stored ("Pelmar"); argc/argv are main's.
    CUtilityApp(int& argc, char** argv, const std::string& programName);
    virtual ~CUtilityApp();
    CUtilityApp(const CUtilityApp&) = delete;
    CUtilityApp& operator=(const CUtilityApp&) = delete;

    int Argc() const { return m_argc; }
    char** Argv() const { return m_argv; }
    bool IsHeadless() const { return m_bHeadless; }

    // Shows the main dialog modally and returns the program's exit status.
    // Headless without an auto-run there is no user to wait for: status 1,
    // saying which switches `commandLine` needs. A program without a command
    // line (none given) can never run unattended.
    int RunMainDialog(CUtilityDlg& dialog, const CCmdLineInfoBase* commandLine = nullptr);

private:
    int& m_argc;
    char** m_argv;
    bool m_bHeadless;
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<platform::MessageBackend> m_messages;
};
