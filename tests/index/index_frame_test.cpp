// The RFC index opened as a reader opens it: its Index tab and tree, the
// live entry under the pointer, following titles and numbers, and the real
// index when the corpus is there.
#include "analysis/rfc_text.h"
#include "frame/navigator_bar.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "support/corpus.h"
#include "view/reading_fixture.h"

#include <QScrollBar>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class IndexFrameTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        ReadingFixture::SetUp();
        makeApp();
        app->mainFrame()->resize(1000, 700);
    }

    CParchlyView& openIndex()
    {
        CParchlyView* view = open(copyReading("rfc-index.txt", "rfc-index.txt"));
        EXPECT_NE(view, nullptr);
        return *view;
    }

    static const RfcText& textOf(const CParchlyView& view) { return view.GetDocument()->text(); }

    static int entryOf(const CParchlyView& view, int number)
    {
        const auto& entries = textOf(view).indexEntries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].number == number)
                return static_cast<int>(i);
        return -1;
    }

    static bool underlined(const CParchlyView& view, int position)
    {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().fontUnderline();
    }
};

TEST_F(IndexFrameTest, TheIndexOpensWithItsTabAndTreeAndIsKnownOpen)
{
    CParchlyView& view = openIndex();
    EXPECT_TRUE(app->indexDocumentOpen);
    EXPECT_TRUE(textOf(view).isIndex);
    EXPECT_EQ(textOf(view).currentEntry, 0);
    EXPECT_EQ(view.history().entries().size(), 1u);
    CChildFrame* child = app->mainFrame()->activeChildFrame();
    ASSERT_EQ(child->navigatorBar()->tabs()->TabCount(), 1);
    EXPECT_EQ(child->navigatorBar()->tabs()->tabText(0), "Index");
    TreeView* tree = child->navigatorBar()->firstTree();
    EXPECT_EQ(tree->GetItemText(tree->GetRoot()), "1 - 500");
    EXPECT_EQ(app->mainFrame()->modePane(), "Index View");

    child->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(app->indexDocumentOpen);
}

TEST_F(IndexFrameTest, ANumberOfAnotherEntryOnlyMakesThatEntryCurrent)
{
    CParchlyView& view = openIndex();
    const int entry = find(view, "0010 Documentation");
    const QPoint obsoletes = pointAt(view, find(view, "0003)", entry) + 1);
    EXPECT_EQ(pointerAt(view, obsoletes), Qt::IBeamCursor);
    click(view, obsoletes);
    EXPECT_EQ(textOf(view).currentEntry, entryOf(view, 10));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(underlined(view, find(view, "0003)", entry)));
    EXPECT_FALSE(underlined(view, find(view, "Host Software")));
    EXPECT_EQ(pointerAt(view, obsoletes), Qt::PointingHandCursor);

    // Now the number is live: its RFC's file is missing, then present.
    click(view, obsoletes);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], pathOf("rfc3.txt") + " does NOT exist!");
    copyReading("rfc9991.txt", "rfc3.txt");
    click(view, obsoletes);
    ASSERT_EQ(app->mainFrame()->childFrames().size(), 2u);
    EXPECT_EQ(app->mainFrame()->activeChildFrame()->path(), pathOf("rfc3.txt"));
}

TEST_F(IndexFrameTest, TheTitleOfTheCurrentEntryOpensItsRfcAlsoWithFiveDigits)
{
    CParchlyView& view = openIndex();
    view.ScrollLines(view.LineCount());
    const int title = find(view, "A five-digit request");
    click(view, pointAt(view, title));
    ASSERT_EQ(textOf(view).currentEntry, entryOf(view, 12345));
    EXPECT_EQ(pointerAt(view, pointAt(view, title + 5)), Qt::PointingHandCursor);
    EXPECT_EQ(pointerAt(view, pointAt(view, find(view, "Author. January"))), Qt::IBeamCursor);
    click(view, pointAt(view, title + 5));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], pathOf("rfc12345.txt") + " does NOT exist!");
}

TEST_F(IndexFrameTest, WithJumpToIndexANumberMovesToItsEntry)
{
    app->settings().JumpToRfcIndexInsteadOfFile = true;
    CParchlyView& view = openIndex();
    const int entry = find(view, "0010 Documentation");
    const QPoint obsoletes = pointAt(view, find(view, "0003)", entry) + 1);
    click(view, obsoletes);
    ASSERT_EQ(textOf(view).currentEntry, entryOf(view, 10));
    const std::size_t recorded = view.history().entries().size();
    click(view, obsoletes);
    const RfcIndexEntry& target = textOf(view).indexEntries[entryOf(view, 3)];
    EXPECT_EQ(textOf(view).currentEntry, entryOf(view, 3));
    EXPECT_EQ(caretLine(view), target.firstLine - 1);
    // At the top, as far as the text lets it scroll.
    QScrollBar* bar = view.verticalScrollBar();
    EXPECT_TRUE(view.FirstVisibleLine() == target.firstLine - 1 || bar->value() == bar->maximum());
    EXPECT_GT(bar->value(), 0);
    EXPECT_GT(view.history().entries().size(), recorded);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A number with no entry at or below its place does nothing.
    const QPoint missing = pointAt(view, find(view, "0999)") + 1);
    click(view, missing);
    ASSERT_EQ(textOf(view).currentEntry, entryOf(view, 1000));
    const int top = view.FirstVisibleLine();
    click(view, missing);
    EXPECT_EQ(textOf(view).currentEntry, entryOf(view, 1000));
    EXPECT_EQ(view.FirstVisibleLine(), top);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(IndexFrameTest, DoubleClickOnALeafOfTheIndexTreeOpensItsRfc)
{
    openIndex();
    TreeView* tree = app->mainFrame()->activeChildFrame()->navigatorBar()->firstTree();
    tree->expandAll();
    QTreeWidgetItem* leaf = tree->GetChild(tree->GetChild(tree->GetRoot()));
    ASSERT_NE(leaf, nullptr);
    tree->setCurrentItem(leaf);
    emit tree->itemDoubleClicked(leaf, 0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], pathOf("rfc1.txt") + " does NOT exist!");
}

TEST_F(IndexFrameTest, TheRealIndexOpensAndEveryEntryCanBecomeCurrent)
{
    PARCHLY_REQUIRE_CORPUS_FILE(path, "rfc-index.txt");
    CParchlyView* view = open(QString::fromStdString(path.string()));
    ASSERT_NE(view, nullptr);
    const auto& entries = textOf(*view).indexEntries;
    ASSERT_GT(entries.size(), 1000u);

    TreeView* tree = app->mainFrame()->activeChildFrame()->navigatorBar()->firstTree();
    std::size_t leaves = 0;
    for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NoChildren); *it; ++it)
        ++leaves;
    std::size_t titled = 0;
    for (const RfcIndexEntry& entry : entries)
        titled += entry.title.empty() ? 0 : 1;
    EXPECT_EQ(leaves, titled);

    for (std::size_t index : {std::size_t(0), entries.size() / 2, entries.size() - 1}) {
        const RfcIndexEntry& entry = entries[index];
        const int start = view->LineStart(entry.firstLine - 1);
        view->SetSelection(start, start);
        view->UpdateCurrentIndexEntry(-1);
        EXPECT_EQ(textOf(*view).currentEntry, static_cast<int>(index));
        const QString line = view->LineText(entry.firstLine - 1);
        int title = 0;
        while (line[title].isDigit())
            ++title;
        while (line[title] == ' ')
            ++title;
        EXPECT_TRUE(underlined(*view, start + title)) << entry.number;
        EXPECT_FALSE(underlined(*view, start)) << entry.number;
    }
}

} // namespace
} // namespace parchly
