// The find bar over a long text: counted without holding up the window,
// marked where the reader looks, "k of N" while stepping, the current match
// brought to the middle of the view.
#include "reading_fixture.h"

#include <QLabel>
#include <QScrollBar>

namespace parchly {
namespace {

class FindBarTest : public test::ReadingFixture {
protected:
    FindBarTest() { atStart = AtStart::ShownAtPageSize; }

    // A text of `lines` numbered lines, each holding "stateid" once.
    ReadingView& openLines(int lines, const QString& filler = QString())
    {
        QFile file(pathOf(QStringLiteral("notes.txt")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= lines; ++i)
            file.write(QStringLiteral("   Line %1 sets the stateid.%2\n").arg(i).arg(filler).toUtf8());
        file.close();
        ReadingView* view = open(file.fileName());
        EXPECT_NE(view, nullptr);
        return *view;
    }

    static QString countText(ReadingView& view) { return view.finder().bar()->countLabel()->text(); }

    // Lets the counting go on between events until it is done; the bound
    // only stops a hung count, so it is generous for a loaded machine.
    static bool countingEnds(ReadingView& view)
    {
        return QTest::qWaitFor([&] { return !countText(view).contains(QLatin1String("so far")); }, 120000);
    }
};

TEST_F(FindBarTest, CountIncludesMatchesOutOfView)
{
    ReadingView& view = openLines(2000);
    typeInFindBar(view, "stateid");
    ASSERT_TRUE(countingEnds(view));
    EXPECT_EQ(countText(view), "2000 matches");
}

TEST_F(FindBarTest, OnlyMatchesInViewAreMarked)
{
    ReadingView& view = openLines(2000);
    typeInFindBar(view, "stateid");
    ASSERT_TRUE(countingEnds(view));
    const QList<QTextEdit::ExtraSelection> marks = view.extraSelections();
    ASSERT_FALSE(marks.isEmpty());
    EXPECT_LT(marks.size(), 200);
    const int top = view.firstVisibleLine();
    for (const QTextEdit::ExtraSelection& mark : marks) {
        EXPECT_EQ(mark.cursor.selectedText(), "stateid");
        EXPECT_GE(view.lineFromPosition(mark.cursor.position()), top);
    }
}

TEST_F(FindBarTest, ScrollingMarksTheMatchesComingIntoView)
{
    ReadingView& view = openLines(2000);
    typeInFindBar(view, "stateid");
    ASSERT_TRUE(countingEnds(view));
    view.verticalScrollBar()->setValue(1500);
    QApplication::processEvents();
    const QList<QTextEdit::ExtraSelection> marks = view.extraSelections();
    ASSERT_FALSE(marks.isEmpty());
    EXPECT_EQ(view.lineFromPosition(marks.front().cursor.position()), view.firstVisibleLine());
}

TEST_F(FindBarTest, LongTextIsCountedBetweenEventsNotAtOnce)
{
    // Some 400,000 matches: far more than one slice of counting.
    ReadingView& view = openLines(20000, QStringLiteral(" e e e e e e e e e e e e e e e e e e e e"));
    typeInFindBar(view, "e");
    EXPECT_TRUE(countText(view).endsWith("matches so far")) << countText(view).toStdString();
    ASSERT_TRUE(countingEnds(view));
    EXPECT_EQ(countText(view), "480000 matches");
}

TEST_F(FindBarTest, FindNextSaysWhichMatchOfHowMany)
{
    ReadingView& view = openLines(50);
    FindBar& bar = typeInFindBar(view, "stateid");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    EXPECT_EQ(countText(view), "1 of 50");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    EXPECT_EQ(countText(view), "2 of 50");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(bar.textEdit(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(countText(view), "50 of 50");
}

TEST_F(FindBarTest, CaretMovedOffTheMatchShowsTheCountAlone)
{
    ReadingView& view = openLines(50);
    FindBar& bar = typeInFindBar(view, "stateid");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    view.setCaretLineColumn(10, 0);
    EXPECT_EQ(countText(view), "50 matches");
}

TEST_F(FindBarTest, MatchOutOfViewComesToTheMiddleOfTheView)
{
    ReadingView& view = openLines(2000);
    view.setCaretLineColumn(999, 0);
    view.scrollLines(-view.firstVisibleLine());
    FindBar& bar = typeInFindBar(view, "stateid");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    const int line = caretLine(view);
    ASSERT_EQ(line, 999);
    const int visible = view.viewport()->height() / view.fontMetrics().height();
    EXPECT_NEAR(line - view.firstVisibleLine(), visible / 2, 2);
}

} // namespace
} // namespace parchly
