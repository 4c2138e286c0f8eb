#include "HelpPage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace platform {

std::string HelpPagePath()
{
    // A build tree keeps the page beside the program; an installation keeps
    // it under share/.
    QFileInfo program(QCoreApplication::applicationFilePath());
    const QString page = program.completeBaseName() + ".html";
    const QString beside = program.absolutePath() + "/" + page;
    for (const QString& candidate : {program.absolutePath() + "/help/" + page, beside,
                                     program.absolutePath() + "/" QSV_HELP_DIR_FROM_BIN "/" + page}) {
        if (QFileInfo::exists(candidate))
            return QFile::encodeName(QDir::cleanPath(candidate)).toStdString();
    }
    return QFile::encodeName(beside).toStdString();
}

bool OpenHelpPage()
{
    QString path = QString::fromStdString(HelpPagePath());
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
