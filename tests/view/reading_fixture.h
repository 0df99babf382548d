// The whole program in a fresh folder with the pointer and keys driven
// through a reading view's viewport (ReadingFixture), beside what the view
// tests share.
#ifndef PARCHLY_TESTS_VIEW_READING_FIXTURE_H
#define PARCHLY_TESTS_VIEW_READING_FIXTURE_H

#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/command_ids.h"
#include "view/find.h"
#include "view/go_to_dialog.h"
#include "view/view_fixture.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

namespace parchly::test {

class ReadingFixture : public AppFixture {
protected:
    // Copies a fixture of tests/fixtures/reading into the RFC folder.
    QString copyReading(const QString& fixture, const QString& name)
    {
        return copyFixture(fixture, name, QStringLiteral("reading"));
    }

    // The links text, the golden analysis case's input, as RFC 9995 would
    // name it; installLinksCollection() puts it beside the index of the
    // links fixtures, with RFC 9110 there (the same text) and RFC 2119 only
    // in the index.
    const QString kLinks = QStringLiteral("../../analysis/golden/links.txt");
    void installLinksCollection()
    {
        copyReading("../links/rfc-index.txt", "rfc-index.txt");
        copyReading(kLinks, "rfc9110.txt");
        app->reloadIndexStatus();
    }

    // Opens the links text as RFC 9995.
    ReadingView* openLinks() { return open(copyReading(kLinks, "rfc9995.txt")); }

    // The file name of the active window.
    QString activeFile() { return QFileInfo(frame().activeDocumentWindow()->path()).fileName(); }

    // Opens `path` as the File menu does and gives its view (null when it
    // did not open).
    ReadingView* open(const QString& path)
    {
        if (!app->openDocumentFile(path))
            return nullptr;
        QApplication::processEvents();
        DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
        return child ? child->view() : nullptr;
    }

    // The position of the first `text` at or after `from` in the shown text.
    static int find(const ReadingView& view, const QString& text, int from = 0)
    {
        return view.document()->toPlainText().indexOf(text, from);
    }

    // Scrolls the first `text` to stand a few lines below the top; gives its
    // position.
    static int scrollTo(ReadingView& view, const QString& text)
    {
        const int at = find(view, text);
        view.scrollLines(view.lineFromPosition(at) - 5 - view.firstVisibleLine());
        return at;
    }

    // A point inside the character at `position`.
    static QPoint pointAt(const ReadingView& view, int position)
    {
        return view.positionToPoint(position) + QPoint(2, 3);
    }

    static void click(ReadingView& view, const QPoint& point, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view.viewport(), button, Qt::NoModifier, point);
        QApplication::processEvents();
    }

    static void clickAt(ReadingView& view, int position) { click(view, pointAt(view, position)); }

    // Moves the pointer over `point` with no button pressed.
    static Qt::CursorShape pointerAt(ReadingView& view, const QPoint& point)
    {
        QMouseEvent move(QEvent::MouseMove, point, view.viewport()->mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        return view.viewport()->cursor().shape();
    }

    // Answers Go To with the kind's row and the typed number.
    void goTo(int row, int number)
    {
        dialogs.dialogScripts.push_back([row, number](QDialog& dialog) {
            auto& go = static_cast<GoToDialog&>(dialog);
            go.kindList()->setCurrentRow(row);
            go.numberEdit()->setText(QString::number(number));
            go.goTo();
            return go.result();
        });
        app->mainWindow()->routeCommand(kCmdGoTo);
    }

    // Opens the find bar of `view` by the Find command and types `text`.
    FindBar& typeInFindBar(ReadingView& view, const QString& text)
    {
        app->mainWindow()->routeCommand(kCmdFind);
        view.finder().bar()->textEdit()->setText(text);
        return *view.finder().bar();
    }

    static int caretLine(const ReadingView& view) { return view.lineFromPosition(view.selectedRange().end); }
    static QString caretLineText(const ReadingView& view) { return view.lineText(caretLine(view)); }
};

} // namespace parchly::test

#endif
