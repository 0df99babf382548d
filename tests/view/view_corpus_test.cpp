#include "analysis/recognition.h"
#include "reading_fixture.h"
#include "support/corpus.h"

#include <QDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

// Every RFC of the corpus and its index open and show their own text, come
// back to the same text after headers and footers were cut and put back,
// and every RFC is recognised as one (RFC 822 too, whose number line the
// front matter does not read).
TEST(ViewCorpus, EveryRfcComposesAndShowsItsOwnText)
{
    PARCHLY_REQUIRE_CORPUS_FILE(anyRfc, "rfc2616.txt");
    ScriptedDialogs dialogs;
    const QDir folder(QString::fromStdString(anyRfc.parent_path().string()));
    const QStringList names = folder.entryList({"rfc*.txt"}, QDir::Files, QDir::Name);
    int composed = 0;
    int unpaged = 0;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = folder.filePath(name);
        OpenedView opened(path);
        ReadingView& view = opened.open();
        const QString expected = expectedShownText(path);
        ASSERT_EQ(view.toPlainText(), expected);
        EXPECT_TRUE(view.isReadOnly());
        EXPECT_FALSE(view.document()->isModified());
        const RfcText& text = opened.document.text();
        EXPECT_TRUE(text.isIndex ? name == "rfc-index.txt" : recognisedAsRfc(text));

        const int caret = view.lineStart(41) - 1; // the end of line 40
        view.setSelection(caret, caret);
        view.setHeadersAndFootersCut(true, true);
        const bool paged = text.pageEnds.size() > 1;
        if (text.pageEnds.size() > 2) {
            EXPECT_LT(view.lineCount(), expected.count(QLatin1Char('\n')) + 1);
        }
        view.setPageSeparatorsShown(true);
        if (!paged) {
            // A file without pages (every RFC since 8650): no Page tree
            // entry, and cutting pages or marking them changes nothing.
            ++unpaged;
            EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0);
            EXPECT_EQ(view.toPlainText(), expected);
        }
        view.setPageSeparatorsShown(false);
        view.setHeadersAndFootersCut(false, false);
        EXPECT_EQ(view.toPlainText(), expected);
        if (!paged) {
            view.updatePositionStatus();
            EXPECT_EQ(opened.host.positionPane, QString("Ln 41, Col %1").arg(caret - view.lineStart(40) + 1));
        }
        ++composed;
    }
    EXPECT_GT(composed, 0);
    EXPECT_GT(unpaged, 0) << "the corpus holds modern RFCs";
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace parchly
