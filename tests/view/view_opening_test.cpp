// Opening files of every kind, and every file of the RFC corpus.
#include "analysis/recognition.h"
#include "view/view_fixture.h"
#include "support/corpus.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

// Cutting headers and footers and showing separators, then putting both
// back, gives the text again; a paged RFC shows fewer lines while cut. A
// file without pages (every RFC since 8650) has no Page tree entry, and
// cutting pages or marking them changes nothing, not even the caret's line
// and column. Gives whether the file has pages.
bool expectCutsAndSeparatorsComeBack(OpenedView& opened, const QString& expected)
{
    ReadingView& view = *opened.view;
    const RfcText& text = opened.document.text();
    const int caret = view.lineStart(41) - 1; // the end of line 40
    view.setSelection(caret, caret);
    view.rfcDocument()->cutHeadersAndFooters(true, true);
    const bool paged = text.pageEnds.size() > 1;
    if (text.pageEnds.size() > 2) {
        EXPECT_LT(view.lineCount(), expected.count(QLatin1Char('\n')) + 1);
    }
    view.rfcDocument()->showPageSeparators(true);
    if (!paged) {
        EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0);
        EXPECT_EQ(view.toPlainText(), expected);
    }
    view.rfcDocument()->showPageSeparators(false);
    view.rfcDocument()->cutHeadersAndFooters(false, false);
    EXPECT_EQ(view.toPlainText(), expected);
    if (!paged) {
        view.updatePositionStatus();
        EXPECT_EQ(opened.host.positionPane, QString("Ln 41, Col %1").arg(caret - view.lineStart(40) + 1));
    }
    return paged;
}

// A file of one kind and what opening it shows.
struct OpeningCase {
    const char* name;
    const char* text; // null: no such file
    bool isIndex;
    int tabs;
    const char* mode; // null: not asked
};

const char* const kIndexText = "RFC INDEX\r\n\r\n0001 Host Software. S. Crocker. April 1969.\r\n";

// A file whose name ends in "rfc-index.txt" is the index, shown as text with
// only its Index tab; the name is matched with case. A file without page
// breaks (or that cannot be read) has nothing to cut and no page to mark.
const OpeningCase kOpeningCases[] = {
    {"rfc-index.txt", kIndexText, true, 1, "Index View"},
    {"my-rfc-index.txt", kIndexText, true, 1, "Index View"},
    {"RFC-INDEX.TXT", kModernRfc, false, 3, "Structure View"},
    {"rfc1.txt", nullptr, false, 0, nullptr},
};

// Each kind of file is shown as its own text with its tabs, and none of
// them says a word.
TEST(ViewOpening, EachKindOfFileIsShownAsItsTextWithItsTabs)
{
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    for (const OpeningCase& c : kOpeningCases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(c.name);
        if (c.text)
            test::writeFile(path.toStdString(), c.text);
        OpenedView opened(path);
        ReadingView& view = opened.open();
        const QString shown = view.toPlainText();
        EXPECT_EQ(shown, c.text ? expectedShownText(path) : QString());
        EXPECT_TRUE(shown.isEmpty() != bool(c.text) && !shown.contains(QLatin1Char('\r')));
        EXPECT_EQ(opened.document.text().isIndex, c.isIndex);
        EXPECT_EQ(opened.host.tabs->count(), c.tabs);
        EXPECT_TRUE(!c.mode || opened.host.navigator->mode() == c.mode)
            << opened.host.navigator->mode().toStdString();
        view.rfcDocument()->cutHeadersAndFooters(true, true);
        view.rfcDocument()->showPageSeparators(true);
        EXPECT_EQ(view.toPlainText(), shown);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// Every RFC of the corpus and its index open and show their own text, come
// back to the same text after headers and footers were cut and put back,
// and every RFC is recognised as one (RFC 822 too, whose number line the
// front matter does not read).
TEST(ViewCorpus, EveryRfcComposesAndShowsItsOwnText)
{
    PARCHLY_REQUIRE_CORPUS_FILE(anyRfc, "rfc2616.txt");
    ScriptedDialogs dialogs;
    const QDir folder(QString::fromStdString(anyRfc.parent_path().string()));
    int unpaged = 0;
    for (const QString& name : folder.entryList({"rfc*.txt"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const QString path = folder.filePath(name);
        OpenedView opened(path);
        const QString expected = expectedShownText(path);
        ASSERT_EQ(opened.open().toPlainText(), expected);
        const RfcText& text = opened.document.text();
        EXPECT_TRUE(text.isIndex ? name == "rfc-index.txt" : recognisedAsRfc(text));
        unpaged += !expectCutsAndSeparatorsComeBack(opened, expected);
    }
    EXPECT_GT(unpaged, 0) << "the corpus holds modern RFCs";
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace parchly
