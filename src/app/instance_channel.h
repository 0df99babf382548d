// One running Parchly per user: a second start hands its document arguments
// to the running program through a local socket and ends, and the running
// program opens them. The server name is per user so that users of one
// machine do not reach each other's program; tests use names of their own.
#ifndef PARCHLY_APP_INSTANCE_CHANNEL_H
#define PARCHLY_APP_INSTANCE_CHANNEL_H

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace parchly {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(const QString& serverName, QObject* parent = nullptr);

    // "parchly-<user name>".
    static QString userServerName();

    // Sends `arguments` to a program listening under the name; false when
    // none answers within `timeoutMs`, so that this start goes on as the first.
    bool handOver(const QStringList& arguments, int timeoutMs = 2000);

    // Listens for later starts; a name left behind by a program that died is
    // taken over. False when the name cannot be used.
    bool listen();

signals:
    // A later start handed over `arguments` (possibly none: it only asked
    // for the running program).
    void argumentsReceived(const QStringList& arguments);

private:
    void acceptConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};

} // namespace parchly

#endif
