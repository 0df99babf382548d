#include "app/instance_channel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace parchly {

InstanceChannel::InstanceChannel(const QString& serverName, QObject* parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

QString InstanceChannel::userServerName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    return QStringLiteral("parchly-") + user;
}

bool InstanceChannel::handOver(const QStringList& arguments, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool InstanceChannel::listen()
{
    if (m_server)
        return m_server->isListening();
    m_server = new QLocalServer(this);
    // Only this user may hand over documents.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::acceptConnection);
    if (m_server->listen(m_serverName))
        return true;
    // Nobody answered handOver, so a name still in use is a dead program's.
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void InstanceChannel::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The list may come in pieces: read it once it is whole.
        auto readArguments = [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (in.commitTransaction())
                emit argumentsReceived(arguments);
        };
        connect(socket, &QLocalSocket::readyRead, this, readArguments);
        if (socket->bytesAvailable() > 0)
            readArguments();
    }
}

} // namespace parchly
