#include "HelpPage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

std::string HelpPagePath()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    QString page = program.completeBaseName() + ".html";
    QString inHelpFolder = program.absolutePath() + "/help/" + page;
    if (QFileInfo::exists(inHelpFolder))
        return inHelpFolder.toStdString();
    return (program.absolutePath() + "/" + page).toStdString();
}

bool OpenHelpPage()
{
    QString path = QString::fromStdString(HelpPagePath());
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
