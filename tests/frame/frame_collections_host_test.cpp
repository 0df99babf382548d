#include "frame/frame_collections_host.h"

#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "view/reading_view.h"

namespace parchly {
namespace {

class FrameCollectionsHostTest : public test::AppFixture {
protected:
    FrameCollectionsHost host() { return FrameCollectionsHost(*app->mainWindow(), *app); }
};

TEST_F(FrameCollectionsHostTest, TellsTheOpenDocumentsInOpeningOrder)
{
    makeApp();
    EXPECT_FALSE(host().hasDocumentTabs());
    EXPECT_TRUE(host().activeDocumentPath().isEmpty());
    int line = -1, column = -1;
    host().activeCaretLineColumn(line, column);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(column, 0);

    const QString second = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc2.txt"));
    const QString first = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc1.txt"));
    ASSERT_TRUE(host().openDocument(second));
    ASSERT_TRUE(host().openDocument(first));
    EXPECT_FALSE(host().openDocument(pathOf("rfc404.txt")));
    EXPECT_TRUE(host().hasDocumentTabs());
    EXPECT_EQ(host().openDocumentPaths(), QStringList({second, first}));
    EXPECT_EQ(host().activeDocumentPath(), first);
}

TEST_F(FrameCollectionsHostTest, PutsTheCaretOnAShownLineOnly)
{
    makeApp();
    ASSERT_TRUE(
        host().openDocument(copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc9901.txt"))));
    ReadingView* view = app->mainWindow()->activeDocumentWindow()->view();

    host().setActiveCaretLineColumn(13, 4);
    int line = -1, column = -1;
    host().activeCaretLineColumn(line, column);
    EXPECT_EQ(line, 13);
    EXPECT_EQ(column, 4);
    EXPECT_EQ(app->mainWindow()->positionPane(), QStringLiteral("Ln 14, Col 5")); // counted from 1

    // On a blank line any column is the line's start.
    ASSERT_EQ(view->lineText(12), QStringLiteral("\n"));
    host().setActiveCaretLineColumn(12, 4);
    host().activeCaretLineColumn(line, column);
    EXPECT_EQ(line, 12);
    EXPECT_EQ(column, 0);

    // A column past the line's end stops at its end, on the same line.
    host().setActiveCaretLineColumn(13, 500);
    host().activeCaretLineColumn(line, column);
    EXPECT_EQ(line, 13);
    ASSERT_TRUE(view->lineText(13).startsWith(QStringLiteral("   This document describes")));
    EXPECT_EQ(column, view->lineText(13).chopped(1).size());

    // A line past the end leaves the caret where it was.
    host().setActiveCaretLineColumn(view->lineCount() + 10, 0);
    host().activeCaretLineColumn(line, column);
    EXPECT_EQ(line, 13);
}

} // namespace
} // namespace parchly
