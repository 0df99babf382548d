// The RFC index opened as a reader opens it: its Index tab and tree, the
// live entry that follows the caret, following titles and numbers. The real
// index is read and parsed in index_corpus_test.cpp.
#include "analysis/rfc_text.h"
#include "frame/errata_service.h"
#include "view/reading_fixture.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QScrollBar>

namespace parchly {
namespace {

// The index open in `view`.
class IndexFrameTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        ReadingFixture::SetUp();
        app->mainWindow()->resize(1000, 700);
        view = open(copyReading("rfc-index.txt", "rfc-index.txt"));
        ASSERT_NE(view, nullptr);
    }

    const RfcText& text() const { return view->rfcDocument()->text(); }
    TreeView* tree() const { return app->mainWindow()->activeDocumentWindow()->navigatorBar()->firstTree(); }

    int entryOf(int number) const
    {
        const auto& entries = text().indexEntries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].number == number)
                return static_cast<int>(i);
        return -1;
    }

    // Whether every character of [start, end) is underlined (or none is).
    bool underlined(int start, int end, bool expected = true) const
    {
        QTextCursor cursor(view->document());
        for (int position = start; position < end; ++position) {
            cursor.setPosition(position + 1);
            if (cursor.charFormat().fontUnderline() != expected)
                return false;
        }
        return true;
    }
    bool underlined(int position) const { return underlined(position, position + 1); }

    ReadingView* view = nullptr;
};

TEST_F(IndexFrameTest, OpensWithItsTabAndTheIndexMode)
{
    EXPECT_TRUE(app->mainWindow()->indexDocumentOpen());
    DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
    EXPECT_EQ(child->navigatorBar()->tabs()->tabText(0), "Index");
    EXPECT_EQ(tree()->itemText(tree()->topLevelItem(0)), "1 - 500");
    EXPECT_EQ(app->mainWindow()->modePane(), "Index View");
    EXPECT_FALSE(view->document()->isModified());
}

TEST_F(IndexFrameTest, ClosingItsWindowClosesTheIndex)
{
    app->mainWindow()->activeDocumentWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(app->mainWindow()->indexDocumentOpen());
}

// At the start the first entry is current, with the caret on its line; its
// title is a link, its authors and its own number are not.
TEST_F(IndexFrameTest, TheFirstEntryIsCurrentWithItsTitleALink)
{
    EXPECT_EQ(text().currentEntry, 0);
    EXPECT_EQ(caretLine(*view), text().indexEntries[0].firstLine - 1);
    const int hostTitle = find(*view, "Host Software");
    EXPECT_TRUE(underlined(hostTitle, hostTitle + 13));
    EXPECT_FALSE(underlined(hostTitle + 13)); // the period
    EXPECT_FALSE(underlined(find(*view, "Crocker")));
    EXPECT_FALSE(underlined(find(*view, "0001")));
}

// The current entry follows the caret; its RFC numbers become links, not
// the format's length, the date or numbers of other entries.
TEST_F(IndexFrameTest, TheCurrentEntryFollowsTheCaretAndLinksItsNumbers)
{
    const int hostTitle = find(*view, "Host Software");
    const int entry = find(*view, "0010 Documentation");
    view->setSelection(find(*view, "Obsoletes", entry), find(*view, "Obsoletes", entry));
    view->updateCurrentIndexEntry(-1);
    EXPECT_EQ(text().currentEntry, entryOf(10));
    EXPECT_TRUE(underlined(hostTitle, hostTitle + 13, false));
    for (const char* number : {"0003)", "0016", "0030"}) {
        const int at = find(*view, number, entry);
        EXPECT_TRUE(underlined(at, at + 4)) << number;
        EXPECT_FALSE(underlined(at - 1)) << number;
    }
    EXPECT_FALSE(underlined(find(*view, "3108", entry)));
    EXPECT_FALSE(underlined(find(*view, "July", entry)));
    EXPECT_FALSE(underlined(find(*view, "0010)")));
}

// The current entry says what the errata database holds of its RFC, which
// the folder need not have.
TEST_F(IndexFrameTest, TheCurrentEntryCountsTheErrataOfItsRfc)
{
    QFile errata(pathOf(QStringLiteral("errata.json")));
    ASSERT_TRUE(errata.open(QIODevice::WriteOnly));
    errata.write(R"([{"errata_id": "7", "doc-id": "RFC0010", "errata_status_code": "Verified"},
                     {"errata_id": "8", "doc-id": "RFC0010", "errata_status_code": "Rejected"}])");
    errata.close();
    ErrataService& service = app->mainWindow()->errata();
    QSignalSpy read(&service, &ErrataService::dataChanged);
    service.reload();
    ASSERT_TRUE(read.count() > 0 || read.wait(20000));
    const int entry = find(*view, "0010 Documentation");
    view->setSelection(entry, entry);
    view->updateCurrentIndexEntry(-1);
    ASSERT_EQ(text().currentEntry, entryOf(10));
    EXPECT_EQ(app->mainWindow()->statusBar()->currentMessage(), QStringLiteral("RFC 10: Errata: 1 verified"));
}

TEST_F(IndexFrameTest, TheBlankLineAfterAnEntryStillBelongsToIt)
{
    view->updateCurrentIndexEntry(view->lineFromPosition(find(*view, "(Status", find(*view, "RFC0030"))) + 1);
    EXPECT_EQ(text().currentEntry, entryOf(10));
}

// A wrapped title is live on both lines, but not on the indentation.
TEST_F(IndexFrameTest, AWrappedTitleIsALinkOnBothLinesButNotTheIndentation)
{
    const int wrapped = find(*view, "0550 NIC");
    clickAt(*view, wrapped);
    ASSERT_EQ(text().currentEntry, entryOf(550));
    const int lineEnd = find(*view, "\n", wrapped);
    const int secondPart = find(*view, "over two lines", wrapped);
    EXPECT_TRUE(underlined(find(*view, "NIC parsing", wrapped), lineEnd));
    EXPECT_TRUE(underlined(lineEnd + 1, secondPart, false));
    EXPECT_TRUE(underlined(secondPart, secondPart + 14));
    EXPECT_FALSE(underlined(secondPart + 14));
    EXPECT_EQ(pointerAt(*view, pointAt(*view, secondPart + 3)), Qt::PointingHandCursor);
    EXPECT_EQ(pointerAt(*view, pointAt(*view, lineEnd + 2)), Qt::IBeamCursor);
    EXPECT_EQ(pointerAt(*view, pointAt(*view, find(*view, "Some One", wrapped))), Qt::IBeamCursor);
}

// A number of another entry, a title (also of five digits) or a leaf of the
// Index tree opens its RFC's file, here missing, then present.
TEST_F(IndexFrameTest, NumbersTitlesAndTreeLeavesOpenTheirRfcOnASingleClick)
{
    const int entry = find(*view, "0010 Documentation");
    const QPoint obsoletes = pointAt(*view, find(*view, "0003)", entry) + 1);
    EXPECT_EQ(pointerAt(*view, obsoletes), Qt::PointingHandCursor);
    click(*view, obsoletes);
    EXPECT_EQ(text().currentEntry, entryOf(10));

    view->scrollLines(view->lineCount());
    const int title = find(*view, "A five-digit request");
    EXPECT_EQ(pointerAt(*view, pointAt(*view, find(*view, "Author. January"))), Qt::IBeamCursor);
    click(*view, pointAt(*view, title + 5));
    EXPECT_EQ(text().currentEntry, entryOf(12345));

    // A double click on a leaf of the Index tree does the same.
    tree()->expandAll();
    QTreeWidgetItem* leaf = tree()->firstChild(tree()->firstChild(tree()->topLevelItem(0)));
    ASSERT_NE(leaf, nullptr);
    tree()->setCurrentItem(leaf);
    emit tree()->itemDoubleClicked(leaf, 0);
    for (const char* file : {"rfc3.txt", "rfc12345.txt", "rfc1.txt"})
        EXPECT_TRUE(dialogs.messages.contains(pathOf(file) + " does NOT exist!")) << file;
    EXPECT_EQ(dialogs.messages.size(), 3);

    copyReading("rfc9991.txt", "rfc3.txt");
    view->scrollLines(-view->lineCount());
    click(*view, pointAt(*view, find(*view, "0003)", entry) + 1));
    ASSERT_EQ(app->mainWindow()->documentWindows().size(), 2u);
    EXPECT_EQ(app->mainWindow()->activeDocumentWindow()->path(), pathOf("rfc3.txt"));
}

TEST_F(IndexFrameTest, FindOpensTheIndexTreeDownToTheFoundEntry)
{
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdFind));
    FindBar* bar = view->finder().bar();
    ASSERT_NE(bar, nullptr);
    // Entry 550 lies in the second group of each level: neither the first
    // nor the last item of a level holds it.
    tree()->collapseAll();
    bar->textEdit()->setText(QStringLiteral("NIC parsing"));
    emit bar->searchRequested(true);
    ASSERT_EQ(text().currentEntry, entryOf(550));
    QTreeWidgetItem* item = tree()->currentItem();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->text(0).startsWith(QStringLiteral("0550:"))) << item->text(0).toStdString();
    for (QTreeWidgetItem* group = item->parent(); group; group = group->parent())
        EXPECT_TRUE(group->isExpanded()) << group->text(0).toStdString();
}

TEST_F(IndexFrameTest, WithJumpToIndexANumberMovesToItsEntry)
{
    app->settings().JumpToRfcIndexInsteadOfFile = true;
    const QPoint obsoletes = pointAt(*view, find(*view, "0003)", find(*view, "0010 Documentation")) + 1);
    const std::size_t recorded = view->history().entries().size();
    click(*view, obsoletes);
    const int targetLine = text().indexEntries[entryOf(3)].firstLine - 1;
    EXPECT_EQ(text().currentEntry, entryOf(3));
    EXPECT_EQ(caretLine(*view), targetLine);
    // At the top, as far as the text lets it scroll.
    QScrollBar* bar = view->verticalScrollBar();
    EXPECT_TRUE(view->firstVisibleLine() == targetLine
                || (bar->value() > 0 && bar->value() == bar->maximum()));
    EXPECT_GT(view->history().entries().size(), recorded);

    // A number with no entry at or below its place does nothing.
    const QPoint missing = pointAt(*view, find(*view, "0999)") + 1);
    const int top = view->firstVisibleLine();
    click(*view, missing);
    EXPECT_EQ(text().currentEntry, entryOf(1000));
    EXPECT_EQ(view->firstVisibleLine(), top);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace parchly
