#pragma once
#include <QLocalServer>
#include <QObject>

#include <functional>
#include <string>

// The meeting point of two terminal instances: a user-only local socket in
// the runtime directory. A second start sends its script path; the running
// instance answers whether a connection window took it.
class CScriptHandOver : public QObject {
    Q_OBJECT
public:
    using Acceptor = std::function<bool(const std::string& scriptPath)>;

    static constexpr int kTimeoutMs = 3000;

    // What became of a script offered to a running instance.
    enum class Outcome { NoInstance, Accepted, Refused };

    static QString ServerName();

    // The second start's side. An instance that listens but does not answer
    // in time has not taken the script: Refused.
    static Outcome HandOver(const std::string& scriptPath);

    // The running instance's side. False when another instance already
    // listens (it stays the one that takes scripts) or the socket fails.
    bool Listen(Acceptor acceptor);

private:
    void OnNewConnection();

    QLocalServer m_server;
    Acceptor m_acceptor;
};
