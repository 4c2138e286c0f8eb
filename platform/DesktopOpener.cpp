#include "DesktopOpener.h"

#include "FileNameText.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace platform {

const char* const kMsgNoApplication = "No application found to open the file %s.";

namespace {
// One command of $BROWSER, split into words without a shell: "%s" in a word
// stands for the page, else the page follows the words.
bool StartBrowser(const QString& command, const QString& page)
{
    QStringList words = command.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    bool placed = false;
    for (QString& word : words) {
        placed = placed || word.contains("%s");
        word.replace("%s", page);
    }
    if (!placed)
        words.append(page);
    return QProcess::startDetached(program, words);
}

// The desktop's opener (xdg-open), else the user's browsers in the order of
// $BROWSER, else the system's default browser. The page goes as a file URL,
// which carries every byte of the name.
bool OpenWithDesktopOrBrowser(const std::string& path)
{
    const QUrl url = LocalFileUrl(path);
    if (QDesktopServices::openUrl(url))
        return true;
    QStringList browsers = QString::fromLocal8Bit(qgetenv("BROWSER")).split(':', Qt::SkipEmptyParts);
    browsers.append("x-www-browser");
    const QString page = QString::fromLatin1(url.toEncoded());
    for (const QString& browser : browsers) {
        if (StartBrowser(browser, page))
            return true;
    }
    return false;
}

FileOpener& InstalledOpener()
{
    static FileOpener opener = OpenWithDesktopOrBrowser;
    return opener;
}
} // namespace

bool OpenWithDesktop(const std::string& path)
{
    return InstalledOpener()(path);
}

FileOpener SetFileOpener(FileOpener opener)
{
    FileOpener previous = InstalledOpener();
    InstalledOpener() = opener ? std::move(opener) : FileOpener(OpenWithDesktopOrBrowser);
    return previous;
}

} // namespace platform
