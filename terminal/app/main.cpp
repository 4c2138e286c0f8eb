#include "CClosingMessages.h"
#include "CDisplayLoss.h"
#include "CParlimApp.h"
#include "CParlimMF.h"
#include "CQuitSignals.h"
#include "HeadlessPlatform.h"
#include "Messages.h"
#include "NumericLocale.h"
#include "ProgramIcon.h"
#include "QtMessageBackend.h"

#include <QApplication>
#include <QStringList>

#include <memory>

int main(int argc, char** argv)
{
    platform::SetProgramName("Parlim");
    const std::unique_ptr<QApplication> application = platform::CreateApplication(argc, argv);
    const bool headless = platform::IsHeadless();
    platform::UseCNumericLocale();
    platform::QtMessageBackend screenMessages;
    platform::HeadlessMessageBackend headlessMessages;
    CClosingMessages messages(headless ? static_cast<platform::MessageBackend&>(headlessMessages)
                                       : screenMessages);
    platform::SetMessageBackend(&messages);
    QApplication::setWindowIcon(ProgramIcon());

    std::vector<std::string> parameters;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        parameters.push_back(arguments[i].toStdString());

    // Set up after the start, kept until the settings are saved at the very end.
    std::unique_ptr<CQuitSignals> quitSignals;
    CParlimApp theApp;
    theApp.m_bUnattended = headless;
    theApp.m_bDisplayMissing = platform::IsDisplayMissing();
    if (!theApp.InitInstance(parameters))
        return theApp.ExitCode();
    QObject::connect(theApp.MainFrame(), &CParlimMF::Closed, [&messages] { messages.EndAnswers(); });
    quitSignals = std::make_unique<CQuitSignals>([&] {
        messages.EndAnswers();
        theApp.OnQuitSignal();
    });
    const CDisplayLoss displayLoss([&] {
        messages.EndAnswers();
        theApp.OnDisplayLost();
    });
    const int status = QApplication::exec();
    theApp.ExitInstance();
    return status;
}
