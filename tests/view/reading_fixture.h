// What the view tests share: the fixture RFC and its shown lines, a stand-in
// for the frame around one reading view (OpenedView), and the whole program
// in a fresh folder with the pointer and keys driven through the viewport
// (ReadingFixture).
#ifndef PARCHLY_TESTS_VIEW_READING_FIXTURE_H
#define PARCHLY_TESTS_VIEW_READING_FIXTURE_H

#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "platform/tab_strip.h"
#include "platform/text_decoding.h"
#include "platform/tree_view.h"
#include "settings/command_ids.h"
#include "settings/settings.h"
#include "view/goto_dialog.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QTextCursor>
#include <memory>

namespace parchly::test {

// A three-page RFC: front matter, title, contents (1, 1.1, 1.2, 2, 3, an
// appendix), headers and footers, citations (one after non-ASCII text) and
// two references, the second with its RFC number on the line after "RFC".
inline QString fixtureRfcPath()
{
    return QStringLiteral(PARCHLY_FIXTURES_DIR "/view/rfc9990.txt");
}

// As RFCs since 8650 are: no form feeds, no page headers or footers.
inline const char* const kModernRfc =
    "Internet Engineering Task Force (IETF)                        A. Author\n"
    "Request for Comments: 9998                                  Example Org\n"
    "Category: Standards Track                                    March 2024\n"
    "ISSN: 2070-1721\n\n\n                        A Modern Test Protocol\n\n"
    "Abstract\n\n   This document has no form feeds.\n";

// The text the view must show for a file: its bytes as a text-mode read
// gives them, decoded.
inline QString expectedShownText(const QString& path)
{
    std::string bytes;
    readTextModeFile(path.toStdString(), bytes);
    return decodeRfcText(bytes).text;
}

// The shown lines, each without its line end.
inline QStringList shownLines(const TextView& view)
{
    QStringList lines;
    for (int line = 0; line < view.lineCount(); ++line)
        lines << view.lineText(line).remove(QLatin1Char('\n'));
    return lines;
}

// The format of the character at `position`.
inline QTextCharFormat charFormatAt(const TextView& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// The frame around a reading view: the document's Navigator (its trees and
// tab strip), the position pane and the document tabs, with the settings
// the test chooses.
class FakeViewHost : public QWidget, public ViewHost {
public:
    explicit FakeViewHost(RfcDocument& document)
        : options("./")
        , navigator(new NavigatorBar(this, document, options))
        , structureTree(navigator->firstTree())
        , pageTree(navigator->secondTree())
        , tabs(navigator->tabs())
    {
    }

    const RfcSettings& settings() const override { return options; }
    ReadingSession& session() override { return readingSession; }
    void runFrameCommand(int) override { }
    int navigatorTab() const override { return tabs->currentIndex(); }
    void setPositionPane(const QString& text) override { positionPane = text; }
    void addDocumentTab(const QString&, ReadingView*) override { }
    void removeDocumentTab(ReadingView*) override { }
    RfcDocument* openRfcNumber(int) override { return nullptr; }

    RfcSettings options;
    ReadingSession readingSession;
    NavigatorBar* navigator;
    TreeView* structureTree;
    TreeView* pageTree;
    TabStrip* tabs;
    QString positionPane;
};

// A document shown in a view of a fixed size, as the frame would show it.
// The view goes before its host.
struct OpenedView {
    explicit OpenedView(const QString& path)
        : document(path)
        , host(document)
    {
    }

    // Creates the view and runs its first update.
    ReadingView& open(int height = 240)
    {
        view = std::make_unique<ReadingView>(&document, &host);
        view->resize(640, height);
        view->show();
        view->loadDocument();
        return *view;
    }

    RfcDocument document;
    FakeViewHost host;
    std::unique_ptr<ReadingView> view;
};

class ReadingFixture : public AppFixture {
protected:
    // Copies a fixture of tests/fixtures/reading into the RFC folder.
    QString copyReading(const QString& fixture, const QString& name)
    {
        const QString target = pathOf(name);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(QStringLiteral(PARCHLY_FIXTURES_DIR "/reading/") + fixture, target));
        return target;
    }

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
        app->mainWindow()->routeCommand(kCmdGoto);
    }

    static int caretLine(const ReadingView& view) { return view.lineFromPosition(view.selectedRange().end); }
    static QString caretLineText(const ReadingView& view) { return view.lineText(caretLine(view)); }
};

} // namespace parchly::test

#endif
