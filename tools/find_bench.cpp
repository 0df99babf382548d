// parchly-find-bench FILE [WORD]: types WORD (default "stateid") into the
// find bar of FILE one key at a time, as a reader does, in a real main frame
// on the offscreen platform, and prints in milliseconds the longest time the
// window was held up by one key or one turn of the event loop (the goal is
// under 50), and how long after the last key the count was final.
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/command_ids.h"
#include "view/reading_view.h"
#include "bench_timing.h"
#include "unattended_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>

namespace {

using namespace parchly;

// A reader types about one key each 150 ms.
constexpr int kKeyIntervalMs = 150;

struct Blocking {
    double longest = 0;
    QString during;
};

// Turns the event loop for `milliseconds` (or until `done`), keeping the
// longest single turn.
template <typename Done>
double runLoop(int milliseconds, Blocking& blocking, const QString& during, Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds && !done()) {
        const double turn = millisecondsOf([] { QApplication::processEvents(QEventLoop::AllEvents); });
        if (turn > blocking.longest)
            blocking = {turn, during};
    }
    return clock.nsecsElapsed() / 1e6;
}

int typeWord(ParchlyApplication& app, const QString& path, const QString& word)
{
    if (!app.openDocumentFile(path))
        return 1;
    QApplication::processEvents();
    DocumentWindow* child = app.mainWindow()->activeDocumentWindow();
    ReadingView* view = child ? child->view() : nullptr;
    if (!view || !view->finder().bar())
        return 1;
    app.mainWindow()->routeCommand(kCmdFind);
    QLineEdit* edit = view->finder().bar()->textEdit();
    edit->clear();
    QLabel* count = view->finder().bar()->countLabel();
    const auto counted = [count] { return !count->text().contains(QLatin1String("so far")); };
    Blocking blocking;
    for (const QChar letter : word) {
        const QString during = QStringLiteral("key '%1'").arg(letter);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
        const double key = millisecondsOf([&] { QApplication::sendEvent(edit, &press); });
        if (key > blocking.longest)
            blocking = {key, during};
        std::printf("  key '%s': handled in %.1f ms, shows \"%s\"\n", qPrintable(QString(letter)), key,
                    qPrintable(count->text()));
        runLoop(kKeyIntervalMs, blocking, during, [] { return false; });
    }
    const double final = runLoop(60000, blocking, QStringLiteral("counting"), counted);
    std::printf("typing \"%s\" in %s: longest hold-up %.1f ms (%s); count \"%s\" final %.1f ms after "
                "the last key's pause\n",
                qPrintable(word), qPrintable(path), blocking.longest, qPrintable(blocking.during),
                qPrintable(count->text()), final);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: parchly-find-bench FILE [WORD]\n");
        return 2;
    }
    const QString path = QFileInfo(arguments[1]).absoluteFilePath();
    const QString word = arguments.size() > 2 ? arguments[2] : QStringLiteral("stateid");
    UnattendedApp unattended;
    if (!unattended.app())
        return 1;
    unattended.app()->mainWindow()->resize(1200, 900);
    return typeWord(*unattended.app(), path, word);
}
