// One running Parchly per user and per display: a second start hands its
// document arguments to the running program through a local socket and
// ends, and the running program opens them. The socket lies in a folder
// only the user can write (the session's runtime folder, else a private
// folder of their own under the temporary folder), its name tells the
// display and the home folder apart, and a program answering under it is
// trusted only when it runs as the same user; tests use names of their own.
#ifndef PARCHLY_APP_INSTANCE_CHANNEL_H
#define PARCHLY_APP_INSTANCE_CHANNEL_H

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QProcessEnvironment;

namespace parchly {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // `serverName` is a name Qt places in the temporary folder or a full
    // socket path, as QLocalServer takes it; empty for a channel that hands
    // over nothing and never listens.
    explicit InstanceChannel(const QString& serverName, QObject* parent = nullptr);

    // The socket path of this user's program on this display with this home
    // folder, as `environment` gives them: "<folder>/parchly-<display>-<home
    // key>", the folder being $XDG_RUNTIME_DIR or a folder "parchly-<uid>"
    // of the temporary folder made for the user alone. Empty when no folder
    // can be trusted (one of another owner, or that others may enter).
    static QString userServerName(const QProcessEnvironment& environment);

    // The folder of userServerName for a runtime folder `runtimeFolder`
    // (may be empty) and a temporary folder `temporaryFolder`; empty when
    // neither is this user's alone.
    static QString channelFolder(const QString& runtimeFolder, const QString& temporaryFolder);

    // Sends `arguments` to a program listening under the name; false when
    // none answers within `timeoutMs`, or when the one that answers runs as
    // another user (it is told nothing), so that this start goes on as the
    // first.
    bool handOver(const QStringList& arguments, int timeoutMs = 2000);

    // Listens for later starts; a name left behind by a program that died is
    // taken over. False when the name cannot be used.
    bool listen();

    // The user id a peer must run as; this process's own unless a test says
    // otherwise.
    void setTrustedUser(unsigned int uid) { m_trustedUser = uid; }

signals:
    // A later start handed over `arguments` (possibly none: it only asked
    // for the running program). Delivered from the event loop once the
    // socket is read, never from inside the socket's own handler, so that a
    // receiver may show a modal dialog (the socket may be gone when the
    // dialog returns).
    void argumentsReceived(const QStringList& arguments);

private:
    void acceptConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
    unsigned int m_trustedUser;
};

} // namespace parchly

#endif
