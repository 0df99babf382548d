// Parchly: a reader for IETF RFCs. The command line's options are answered
// first; then the application object is made after the QApplication and
// brings the program up. Documents named on the command line open; while
// Parchly runs, a second start hands them to the running program and ends.
#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>

#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/parchly_application.h"
#include "app/startup_options.h"
#include "frame/command_icons.h"

namespace {

void nameTheApplication()
{
    // The application name alone (no organisation, which Qt would add as
    // one more folder) makes the settings folder ~/.config/Parchly and the
    // data folder ~/.local/share/Parchly.
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Parchly"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARCHLY_VERSION));
}

} // namespace

int main(int argc, char** argv)
{
    {
        // --help and --version answer without a display.
        QCoreApplication probe(argc, argv);
        nameTheApplication();
        if (const std::optional<int> status =
                parchly::handleStartupOptions(QCoreApplication::arguments(), false))
            return *status;
    }
    QApplication application(argc, argv);
    nameTheApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(PARCHLY_APP_ID));
    if (const std::optional<int> status = parchly::handleStartupOptions(QApplication::arguments()))
        return *status;
    QApplication::setWindowIcon(parchly::programIcon());
    const QStringList documents =
        parchly::documentArguments(QApplication::arguments().mid(1), QDir::currentPath());
    parchly::InstanceChannel channel(
        parchly::InstanceChannel::userServerName(QProcessEnvironment::systemEnvironment()));
    if (channel.handOver(documents))
        return 0;
    // Listening before anything modal (the tip of the day, a word about the
    // settings file): a second start meanwhile would otherwise run as a
    // second program, and two programs overwrite each other's settings.
    channel.listen();
    parchly::ParchlyApplication app;
    QObject::connect(&channel, &parchly::InstanceChannel::argumentsReceived, &app,
                     &parchly::ParchlyApplication::openArguments);
    if (!app.start())
        return 1;
    app.openArguments(documents);
    return QApplication::exec();
}
