#include "CParlimApp.h"
#include "HeadlessPlatform.h"
#include "Messages.h"
#include "NumericLocale.h"
#include "ProgramIcon.h"
#include "QtMessageBackend.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    platform::SetProgramName("Parlim");
    const std::unique_ptr<QApplication> application = platform::CreateApplication(argc, argv);
    const bool headless = platform::IsHeadless();
    platform::UseCNumericLocale();
    platform::QtMessageBackend screenMessages;
    platform::HeadlessMessageBackend headlessMessages;
    platform::SetMessageBackend(headless ? static_cast<platform::MessageBackend*>(&headlessMessages)
                                         : &screenMessages);
    QApplication::setWindowIcon(ProgramIcon());

    std::vector<std::string> parameters;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        parameters.push_back(arguments[i].toStdString());

    CParlimApp theApp;
    theApp.m_bUnattended = headless;
    theApp.m_bDisplayMissing = platform::IsDisplayMissing();
    if (!theApp.InitInstance(parameters))
        return theApp.ExitCode();
    const int status = QApplication::exec();
    theApp.ExitInstance();
    return status;
}
