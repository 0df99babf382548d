// Parchly: a reader for IETF RFCs. The application object is made after the
// QApplication and brings the program up; the settings file is the
// "Parchly.ini" of the directory that is current at start.
#include <QApplication>

#include "app/parchly_application.h"
#include "frame/command_icons.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parchly"));
    QApplication::setWindowIcon(parchly::programIcon());
    parchly::ParchlyApplication app;
    if (!app.start())
        return 1;
    return QApplication::exec();
}
