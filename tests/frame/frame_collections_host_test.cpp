#include "frame/frame_collections_host.h"

#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "settings/command_ids.h"
#include "view/reading_view.h"

namespace parchly {
namespace {

class FrameCollectionsHostTest : public test::AppFixture {
protected:
    FrameCollectionsHost host() { return FrameCollectionsHost(*app->mainWindow(), *app); }

    std::pair<int, int> caret()
    {
        int line = -1, column = -1;
        host().activeCaretLineColumn(line, column);
        return {line, column};
    }
};

// The open documents in opening order; bookmarks store the file's lines,
// whatever the view hides, and put the caret on a shown line only.
TEST_F(FrameCollectionsHostTest, TellsTheOpenDocumentsAndTheirCaretInTheFilesLines)
{
    makeApp();
    EXPECT_FALSE(host().hasDocumentTabs());
    EXPECT_TRUE(host().activeDocumentPath().isEmpty());
    EXPECT_EQ(caret(), std::make_pair(0, 0));

    const QString second = copyRfc(QStringLiteral("rfc2.txt"));
    const QString first = copyRfc(QStringLiteral("rfc1.txt"));
    ASSERT_TRUE(host().openDocument(second));
    ASSERT_TRUE(host().openDocument(first));
    EXPECT_FALSE(host().openDocument(pathOf("rfc404.txt")));
    EXPECT_TRUE(host().hasDocumentTabs());
    EXPECT_EQ(host().openDocumentPaths(), QStringList({second, first}));
    EXPECT_EQ(host().activeDocumentPath(), first);

    ReadingView* view = app->mainWindow()->activeDocumentWindow()->view();
    const int lineEnd = view->lineText(13).chopped(1).size();
    ASSERT_TRUE(view->lineText(13).startsWith(QStringLiteral("   This document describes")));
    ASSERT_EQ(view->lineText(12), QStringLiteral("\n"));
    const struct {
        int line, column, caretLine, caretColumn;
    } cases[] = {
        {13, 4, 13, 4},
        {12, 4, 12, 0}, // on a blank line any column is the line's start
        {13, 500, 13, lineEnd}, // a column past the line's end stops at its end
        {view->lineCount() + 10, 0, 13, lineEnd}, // a line past the end: the caret stays
    };
    for (const auto& c : cases) {
        host().setActiveCaretLineColumn(c.line, c.column);
        EXPECT_EQ(caret(), std::make_pair(c.caretLine, c.caretColumn)) << c.line << ", " << c.column;
    }
    host().setActiveCaretLineColumn(13, 4);
    EXPECT_EQ(app->mainWindow()->positionPane(), QStringLiteral("Ln 14, Col 5")); // counted from 1

    // Page 2, its header hidden: file line 60 is shown higher up.
    app->mainWindow()->routeCommand(kCmdHeaders);
    host().setActiveCaretLineColumn(60, 7);
    EXPECT_EQ(caret(), std::make_pair(60, 7));
    const int shown = view->lineFromPosition(view->selectedRange().end);
    EXPECT_LT(shown, 60);
    EXPECT_TRUE(view->lineText(shown).startsWith(QStringLiteral("   The key words"))) << shown;
}

} // namespace
} // namespace parchly
