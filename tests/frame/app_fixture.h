// A test fixture that runs the application object in a fresh temporary
// current directory (so that its settings file is a new one) and answers
// every dialog from a script. A fixture may set `atStart` and `openAtStart`
// (in its constructor, or in its SetUp before this one's) for SetUp to
// start the program with documents open.
#ifndef PARCHLY_TESTS_FRAME_APP_FIXTURE_H
#define PARCHLY_TESTS_FRAME_APP_FIXTURE_H

#include "app/parchly_application.h"
#include "frame/main_window.h"
#include "support/scripted_dialogs.h"
#include "view/view_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace parchly::test {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousDirectory = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        // A portable settings file, so that no test reads or writes the
        // user's own.
        QFile(QDir(folder.path()).absoluteFilePath(QStringLiteral("Parchly.ini"))).open(QIODevice::WriteOnly);
        if (atStart == AtStart::Nothing)
            return;
        makeApp();
        if (atStart == AtStart::ShownAtPageSize)
            frame().resize(1000, 700);
        if (atStart != AtStart::Started)
            frame().show();
        openCopies(openAtStart);
    }

    void TearDown() override
    {
        app.reset();
        QDir::setCurrent(previousDirectory);
    }

    // Makes the application object; `start` also runs start.
    ParchlyApplication& makeApp(bool start = true)
    {
        app = std::make_unique<ParchlyApplication>();
        app->settings().RfcRootPath = QDir(folder.path()).absolutePath().toStdString();
        // No server here serves single RFCs: a link to a missing one is
        // refused at once, as without an address, unless a test sets its own.
        app->settings().RfcFileDownloadUrl.clear();
        if (start) {
            EXPECT_TRUE(app->start());
        }
        return *app;
    }

    MainWindow& frame() { return *app->mainWindow(); }

    // What SetUp starts: nothing, the program, the program with its main
    // window shown, or shown at a size that holds a page of text.
    enum class AtStart { Nothing, Started, Shown, ShownAtPageSize };
    AtStart atStart = AtStart::Nothing;
    // Copies of the fixture RFC that SetUp opens once started, in order.
    QStringList openAtStart;

    // The action of `owner` (a menu or the menu bar) whose text is `text`;
    // null when there is none.
    static QAction* actionNamed(const QWidget* owner, const QString& text)
    {
        for (QAction* action : owner->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    // A closed window goes at the next turn of the event loop.
    static void settle() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The path of a file in the temporary folder.
    QString pathOf(const QString& name) const { return QDir(folder.path()).absoluteFilePath(name); }

    // Copies a fixture of tests/fixtures/`group` into the temporary folder
    // as `name`; gives its path.
    QString copyFixture(const QString& fixture, const QString& name, const QString& group = "frame")
    {
        const QString target = pathOf(name);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(QStringLiteral(PARCHLY_FIXTURES_DIR "/%1/%2").arg(group, fixture), target));
        return target;
    }
    QString copyRfc(const QString& name) { return copyFixture(QStringLiteral("rfc9901.txt"), name); }

    // Copies of the fixture RFC under the given names, opened in order.
    void openCopies(const QStringList& names)
    {
        for (const QString& name : names)
            ASSERT_NE(app->openDocumentFile(copyRfc(name)), nullptr);
    }

    QTemporaryDir folder;
    QString previousDirectory;
    ScriptedDialogs dialogs;
    std::unique_ptr<ParchlyApplication> app;
};

} // namespace parchly::test

#endif
