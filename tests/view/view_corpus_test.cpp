#include "reading_fixture.h"
#include "support/corpus.h"

#include <QDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

// Every RFC of the corpus opens, shows its own text, and comes back to the
// same text after its headers and footers were cut and put back.
TEST(ViewCorpus, EveryRfcComposesAndShowsItsOwnText)
{
    PARCHLY_REQUIRE_CORPUS_FILE(anyRfc, "rfc2616.txt");
    ScriptedDialogs dialogs;
    const QDir folder(QString::fromStdString(anyRfc.parent_path().string()));
    const QStringList names = folder.entryList({"rfc*.txt"}, QDir::Files, QDir::Name);
    int composed = 0;
    int unpaged = 0;
    for (const QString& name : names) {
        if (name == "rfc-index.txt")
            continue;
        const QString path = folder.filePath(name);
        OpenedView opened(path);
        ReadingView& view = opened.open();
        const QString expected = expectedShownText(path);
        ASSERT_EQ(view.toPlainText(), expected) << name.toStdString();
        EXPECT_TRUE(view.isReadOnly()) << name.toStdString();
        EXPECT_FALSE(view.document()->isModified()) << name.toStdString();

        const int caret = view.lineStart(41) - 1; // the end of line 40
        view.setSelection(caret, caret);
        view.setHeadersAndFootersCut(true, true);
        const RfcText& text = opened.document.text();
        const bool paged = text.pageEnds.size() > 1;
        if (text.pageEnds.size() > 2) {
            EXPECT_LT(view.lineCount(), expected.count(QLatin1Char('\n')) + 1) << name.toStdString();
        }
        view.setPageSeparatorsShown(true);
        if (!paged) {
            // A file without pages (every RFC since 8650): no Page tree
            // entry, and cutting pages or marking them changes nothing.
            ++unpaged;
            EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0) << name.toStdString();
            EXPECT_EQ(view.toPlainText(), expected) << name.toStdString();
        }
        view.setPageSeparatorsShown(false);
        view.setHeadersAndFootersCut(false, false);
        EXPECT_EQ(view.toPlainText(), expected) << name.toStdString();
        if (!paged) {
            view.updatePositionStatus();
            EXPECT_EQ(opened.host.positionPane, QString("Ln 41, Col %1").arg(caret - view.lineStart(40) + 1))
                << name.toStdString();
        }
        ++composed;
    }
    EXPECT_GT(composed, 0);
    EXPECT_GT(unpaged, 0) << "the corpus holds modern RFCs";
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ViewCorpus, TheRealIndexFileIsShownWhole)
{
    PARCHLY_REQUIRE_CORPUS_FILE(index, "rfc-index.txt");
    const QString path = QString::fromStdString(index.string());
    OpenedView opened(path);
    ReadingView& view = opened.open();
    EXPECT_TRUE(opened.document.text().isIndex);
    EXPECT_EQ(view.toPlainText(), expectedShownText(path));
}

} // namespace parchly
