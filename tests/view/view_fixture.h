// What the view tests share: the fixture RFC and its shown lines, and a
// stand-in for the frame around one reading view (OpenedView), with the
// view's library alone.
#ifndef PARCHLY_TESTS_VIEW_VIEW_FIXTURE_H
#define PARCHLY_TESTS_VIEW_VIEW_FIXTURE_H

#include "analysis/line_reader.h"
#include "frame/navigator_bar.h"
#include "platform/tab_strip.h"
#include "platform/text_decoding.h"
#include "platform/tree_view.h"
#include "settings/settings.h"
#include "support/scripted_dialogs.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

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

// The caret of `view` as its line and column in the file, counted from 0.
inline std::pair<int, int> caretOf(const ReadingView& view)
{
    int line = -1, column = -1;
    view.caretLineColumn(line, column);
    return {line, column};
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

} // namespace parchly::test

#endif
