#include "app/instance_channel.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parchly {

namespace {

// Whether the other end of the connected socket `descriptor` runs as `uid`.
bool peerIsUser(qintptr descriptor, unsigned int uid)
{
    struct ucred credentials { };
    socklen_t length = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == uid;
}

// A folder that is this user's and closed to everyone else.
bool isPrivateFolder(const QString& folder)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

// Letters, digits and a few marks of `text`, the rest as "_": a display
// name such as ":0" or "wayland-0" as part of a file name.
QString fileNamePart(const QString& text)
{
    QString part;
    for (const QChar c : text)
        part += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ? c : QLatin1Char('_');
    return part;
}

} // namespace

InstanceChannel::InstanceChannel(const QString& serverName, QObject* parent)
    : QObject(parent)
    , m_serverName(serverName)
    , m_trustedUser(::geteuid())
{
}

QString InstanceChannel::channelFolder(const QString& runtimeFolder, const QString& temporaryFolder)
{
    if (!runtimeFolder.isEmpty() && isPrivateFolder(runtimeFolder))
        return QDir(runtimeFolder).absolutePath();
    // Made with no access for others; one made by someone else first, or
    // opened to others since, is not used.
    const QString folder =
        QDir(temporaryFolder).absoluteFilePath(QStringLiteral("parchly-%1").arg(::geteuid()));
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return isPrivateFolder(folder) ? folder : QString();
}

QString InstanceChannel::userServerName(const QProcessEnvironment& environment)
{
    const QString folder = channelFolder(environment.value(QStringLiteral("XDG_RUNTIME_DIR")),
                                         environment.value(QStringLiteral("TMPDIR"), QDir::tempPath()));
    if (folder.isEmpty())
        return QString();
    // The program a start belongs to is the one on the same display (X11
    // or Wayland) with the same home folder, which holds its settings.
    QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (display.isEmpty())
        display = environment.value(QStringLiteral("DISPLAY"));
    if (display.isEmpty())
        display = QStringLiteral("none");
    const QString home = environment.value(QStringLiteral("HOME"), QDir::homePath());
    const QByteArray homeKey =
        QCryptographicHash::hash(QFile::encodeName(home), QCryptographicHash::Sha256).toHex().left(12);
    return folder + QStringLiteral("/parchly-") + fileNamePart(display) + QLatin1Char('-')
        + QString::fromLatin1(homeKey);
}

bool InstanceChannel::handOver(const QStringList& arguments, int timeoutMs)
{
    if (m_serverName.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Someone else's program must not learn which files this user opens.
    if (!peerIsUser(socket.socketDescriptor(), m_trustedUser)) {
        socket.abort();
        return false;
    }
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
    if (m_serverName.isEmpty())
        return false;
    if (m_server)
        return m_server->isListening();
    m_server = new QLocalServer(this);
    // Only this user may hand over documents.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::acceptConnection);
    if (m_server->listen(m_serverName))
        return true;
    // Nobody of this user answered handOver, so a name still in use is a
    // dead program's (the folder being the user's alone).
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void InstanceChannel::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsUser(socket->socketDescriptor(), m_trustedUser)) {
            socket->abort();
            continue;
        }
        // The list may come in pieces: read it once it is whole.
        auto readArguments = [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return;
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            // Passed on from the event loop: a receiver's modal dialog would
            // otherwise run inside this socket's handler, and the socket,
            // deleted when the peer goes, would be gone when it returns.
            QMetaObject::invokeMethod(
                this, [this, arguments] { emit argumentsReceived(arguments); }, Qt::QueuedConnection);
        };
        connect(socket, &QLocalSocket::readyRead, this, readArguments);
        if (socket->bytesAvailable() > 0)
            readArguments();
    }
}

} // namespace parchly
