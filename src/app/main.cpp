// Parchly: a reader for IETF RFCs. The application object is made after the
// QApplication and brings the program up; the settings file is the
// "Parchly.ini" of the directory that is current at start. Documents named
// on the command line open; while Parchly runs, a second start hands them
// to the running program and ends.
#include <QApplication>
#include <QDir>

#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/parchly_application.h"
#include "frame/command_icons.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parchly"));
    QApplication::setWindowIcon(parchly::programIcon());
    const QStringList documents = parchly::documentArguments(QApplication::arguments().mid(1), QDir::currentPath());
    parchly::InstanceChannel channel(parchly::InstanceChannel::userServerName());
    if (channel.handOver(documents))
        return 0;
    parchly::ParchlyApplication app;
    if (!app.start())
        return 1;
    channel.listen();
    QObject::connect(&channel, &parchly::InstanceChannel::argumentsReceived, &app,
                     &parchly::ParchlyApplication::openArguments);
    app.openArguments(documents);
    return QApplication::exec();
}
