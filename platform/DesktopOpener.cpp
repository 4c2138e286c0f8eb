#include "DesktopOpener.h"

#include "FileNameText.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

const char* const kMsgNoApplication = "No application found to open the file %s.";

namespace {
bool OpenWithDesktopServices(const std::string& path)
{
    return QDesktopServices::openUrl(LocalFileUrl(path));
}

FileOpener& InstalledOpener()
{
    static FileOpener opener = OpenWithDesktopServices;
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
    InstalledOpener() = opener ? std::move(opener) : FileOpener(OpenWithDesktopServices);
    return previous;
}

} // namespace platform
