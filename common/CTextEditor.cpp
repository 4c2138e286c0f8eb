#include "CTextEditor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

constexpr int kQueryTimeoutMs = 2000;
constexpr const char* kOpener = "xdg-open";

std::string ExecLineOf(const QString& desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream stream(&file);
    bool inEntry = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith("Exec="))
            return line.mid(5).toStdString();
    }
    return {};
}

} // namespace

CTextEditor::Command CTextEditor::FromExecLine(const std::string& execLine, const std::string& path)
{
    const QStringList parts = QProcess::splitCommand(QString::fromStdString(execLine));
    Command command;
    bool pathPlaced = false;
    for (const QString& part : parts) {
        if (part == "%f" || part == "%F" || part == "%u" || part == "%U") {
            if (!pathPlaced && !path.empty())
                command.second.push_back(path);
            pathPlaced = true;
        } else if (part.size() == 2 && part.startsWith('%')) {
            continue;
        } else if (command.first.empty()) {
            command.first = part.toStdString();
        } else {
            command.second.push_back(part.toStdString());
        }
    }
    if (command.first.empty())
        return {};
    if (!pathPlaced && !path.empty())
        command.second.push_back(path);
    return command;
}

std::string CTextEditor::DefaultTextApplicationExec()
{
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/plain"});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    const QString desktopId = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    if (desktopId.isEmpty())
        return {};
    const QString desktopFile =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    return desktopFile.isEmpty() ? std::string() : ExecLineOf(desktopFile);
}

CTextEditor::Command CTextEditor::EditorCommand(const std::string& path)
{
    Command command = FromExecLine(DefaultTextApplicationExec(), path);
    if (command.first.empty() && !path.empty())
        command = Command{kOpener, {path}};
    return command;
}

bool CTextEditor::Open(const std::string& path)
{
    const Command command = EditorCommand(path);
    if (command.first.empty())
        return false;
    QStringList arguments;
    for (const std::string& argument : command.second)
        arguments << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(command.first), arguments);
}
