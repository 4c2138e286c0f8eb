#include "CScriptHandOver.h"

#include <QDir>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>

namespace {

constexpr char kAccepted = '1';
constexpr char kRefused = '0';

bool AnotherInstanceListens()
{
    QLocalSocket probe;
    probe.connectToServer(CScriptHandOver::ServerName());
    return probe.waitForConnected(CScriptHandOver::kTimeoutMs);
}

} // namespace

QString CScriptHandOver::ServerName()
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty())
        directory = QDir::tempPath();
    return QDir(directory).filePath("QSV-Parlim");
}

CScriptHandOver::Outcome CScriptHandOver::HandOver(const std::string& scriptPath)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kTimeoutMs))
        return Outcome::NoInstance;
    socket.write(QByteArray::fromStdString(scriptPath + "\n"));
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return Outcome::Refused;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kTimeoutMs))
            return Outcome::Refused;
    }
    return socket.readLine().startsWith(kAccepted) ? Outcome::Accepted : Outcome::Refused;
}

bool CScriptHandOver::Listen(Acceptor acceptor)
{
    if (AnotherInstanceListens())
        return false;
    // Nobody answered: a socket file left by an instance that died is stale.
    QLocalServer::removeServer(ServerName());
    m_acceptor = std::move(acceptor);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &CScriptHandOver::OnNewConnection);
    return m_server.listen(ServerName());
}

void CScriptHandOver::OnNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            QByteArray line = socket->readLine();
            line.chop(1);
            std::string path = line.toStdString();
            bool accepted = !path.empty() && m_acceptor && m_acceptor(path);
            socket->write(QByteArray(1, accepted ? kAccepted : kRefused) + "\n");
            socket->flush();
        });
    }
}
