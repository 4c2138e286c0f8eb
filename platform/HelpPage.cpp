#include "HelpPage.h"

#include "DesktopOpener.h"
#include "Format.h"
#include "Messages.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {

namespace {
const char* const kMsgCannotOpenFile = "Cannot open file %s.";
}

std::string HelpPagePath()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    QString page = program.completeBaseName() + ".html";
    QString inHelpFolder = program.absolutePath() + "/help/" + page;
    if (QFileInfo::exists(inHelpFolder))
        return inHelpFolder.toStdString();
    return (program.absolutePath() + "/" + page).toStdString();
}

void ShowHelpPage()
{
    const std::string path = HelpPagePath();
    if (!QFileInfo::exists(QString::fromStdString(path)))
        ShowMessage(Format(kMsgCannotOpenFile, path.c_str()));
    else if (!OpenWithDesktop(path))
        ShowMessage(Format(kMsgNoApplication, path.c_str()));
}

} // namespace platform
