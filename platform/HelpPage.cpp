#include "HelpPage.h"

#include "DesktopOpener.h"
#include "FilePaths.h"
#include "FileTexts.h"
#include "Format.h"
#include "Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

std::string HelpPagePath()
{
    // A build tree keeps the page beside the program; an installation keeps
    // it under share/.
    // The executable itself, also before (or without) an application object.
    QFileInfo program(QFile::symLinkTarget("/proc/self/exe"));
    const QString page = program.completeBaseName() + ".html";
    const QString beside = program.absolutePath() + "/" + page;
    for (const QString& candidate : {program.absolutePath() + "/help/" + page, beside,
                                     program.absolutePath() + "/" QSV_HELP_DIR_FROM_BIN "/" + page}) {
        if (QFileInfo::exists(candidate))
            return QFile::encodeName(QDir::cleanPath(candidate)).toStdString();
    }
    return QFile::encodeName(beside).toStdString();
}

void ShowHelpPage()
{
    const std::string path = HelpPagePath();
    if (!PathExists(path))
        ShowMessage(Format(kMsgCannotOpenFile, path.c_str()));
    else if (!OpenWithDesktop(path))
        ShowMessage(Format(kMsgNoApplication, path.c_str()));
}

} // namespace platform
