#include "CShellRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Quoting of one Exec argument as desktop entries want it.
std::string QuoteExecArgument(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

CShellRegistration::CShellRegistration(std::string dataHome) : m_dataHome(std::move(dataHome)) {}

std::string CShellRegistration::MimeFilePath() const
{
    return m_dataHome + "/mime/packages/Parlim.Script.xml";
}

std::string CShellRegistration::DesktopFilePath() const
{
    return m_dataHome + "/applications/Parlim.Script.desktop";
}

std::string CShellRegistration::MimeEntry()
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"")
           + kMimeType
           + "\">\n"
             "    <comment>Parlim Script File</comment>\n"
             "    <glob pattern=\"*.qvs\"/>\n"
             "  </mime-type>\n"
             "</mime-info>\n";
}

std::string CShellRegistration::DesktopEntry(const std::string& programPath)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Parlim\n"
           "Comment=Parlim Script File\n"
           "Exec="
           + QuoteExecArgument(programPath)
           + " %f\n"
             "MimeType="
           + kMimeType
           + ";\n"
             "NoDisplay=true\n";
}

bool CShellRegistration::Register(const std::string& programPath) const
{
    bool mimeChanged = false;
    if (!WriteWhenDifferent(MimeFilePath(), MimeEntry(), &mimeChanged))
        return false;
    if (mimeChanged) {
        // The MIME database is rebuilt by its own tool, when the system has it.
        QString tool = QStandardPaths::findExecutable("update-mime-database");
        if (!tool.isEmpty())
            QProcess::startDetached(tool, {QString::fromStdString(m_dataHome + "/mime")});
    }
    bool desktopChanged = false;
    return WriteWhenDifferent(DesktopFilePath(), DesktopEntry(programPath), &desktopChanged);
}

bool CShellRegistration::WriteWhenDifferent(const std::string& path, const std::string& text,
                                            bool* changed)
{
    QString name = QString::fromStdString(path);
    QByteArray wanted = QByteArray::fromStdString(text);
    *changed = false;
    QFile existing(name);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wanted)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(name).absolutePath()))
        return false;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool written = file.write(wanted) == wanted.size() && file.flush();
    *changed = written;
    return written;
}
