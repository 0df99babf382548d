// What a reader of documents expects of the reading view: the position pane
// and the Navigator follow every caret move, lines are the file's counted
// from 1, the find bar, zoom, history keys, Enter on a link, and toggles
// that change only their own state.
#include "frame/navigator_bar.h"
#include "platform/tree_view.h"
#include "reading_fixture.h"
#include "settings/command_ids.h"
#include "settings/profile.h"
#include "view/page_separator.h"

#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class ReadingHabitsTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        ReadingFixture::SetUp();
        makeApp();
        app->mainWindow()->resize(1000, 700);
        app->mainWindow()->show();
        rfcPath = copyReading("rfc9991.txt", "rfc9991.txt");
    }

    ReadingView& openRfc(const QString& name = QStringLiteral("rfc9991.txt"))
    {
        ReadingView* view = open(name == "rfc9991.txt" ? rfcPath : copyReading("rfc9991.txt", name));
        EXPECT_NE(view, nullptr);
        return *view;
    }

    MainWindow& frame() { return *app->mainWindow(); }
    QString pane() { return frame().positionPane(); }
    QString structureItem()
    {
        TreeView* tree = frame().activeDocumentWindow()->navigatorBar()->trees().structureTree;
        return tree->currentItem() ? tree->currentItem()->text(0) : QString();
    }

    FindBar& findBar(ReadingView& view, const QString& text)
    {
        frame().routeCommand(kCmdFind);
        view.findBar()->textEdit()->setText(text);
        return *view.findBar();
    }

    QString rfcPath;
};

// File lines (1-based) of the fixture.
constexpr int kProtocolHeading = 50;
constexpr int kClosingFiller6 = 90;

// Every move of the caret by the program shows in the pane, counted from 1
// in lines of the file, and moves the Structure tree as F3 does.
TEST_F(ReadingHabitsTest, EveryCaretMoveShowsInThePaneAndTheNavigator)
{
    ReadingView& view = openRfc();
    EXPECT_EQ(pane(), "Ln 1, Col 1");
    struct Move {
        const char* name;
        std::function<void()> run;
        int line;
        const char* item;
    };
    const Move moves[] = {
        {"tree", [&] { view.goToContentsEntry(1); }, kProtocolHeading, "2. Protocol"},
        {"tree again", [&] { view.goToContentsEntry(3); }, 77, "4. References"},
        {"Back", [&] { frame().routeCommand(kCmdGoBack); }, kProtocolHeading, "2. Protocol"},
        {"Forward", [&] { frame().routeCommand(kCmdGoForward); }, 77, "4. References"},
        {"Go To line", [&] { goTo(0, 41); }, 41, "1. Introduction"},
        {"Go To page", [&] { goTo(1, 2); }, 25, "1. Introduction"},
        {"find", [&] { findBar(view, "Protocol filler line 9").searchRequested(true); }, 61, "2. Protocol"},
        {"bookmark", [&] { view.setCaretLineColumn(30, 4); }, 31, "1. Introduction"},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.name);
        move.run();
        EXPECT_TRUE(pane().startsWith(QStringLiteral("Ln %1, Col ").arg(move.line))) << pane().toStdString();
        EXPECT_EQ(structureItem(), move.item);
        // In the upper third of the view, never at its bottom edge, unless
        // the view can scroll no further.
        const int shown = caretLine(view) - view.firstVisibleLine();
        EXPECT_GE(shown, 0);
        if (view.verticalScrollBar()->value() < view.verticalScrollBar()->maximum()) {
            EXPECT_LT(shown, view.viewport()->height() / view.cursorRect().height() / 3);
        }
    }
    // A new window shows its own caret, and the pane follows the active one.
    ReadingView& second = openRfc("rfc9992.txt");
    EXPECT_EQ(pane(), "Ln 1, Col 1");
    second.setCaretLineColumn(2, 3);
    EXPECT_EQ(pane(), "Ln 3, Col 4");
    frame().activateDocumentWindow(frame().documentWindows().front());
    EXPECT_EQ(pane(), "Ln 31, Col 5");
}

// Hidden headers and footers change no line number a user sees, types or
// stores.
TEST_F(ReadingHabitsTest, LinesAreTheFilesWhateverIsHidden)
{
    ReadingView& view = openRfc();
    ASSERT_TRUE(frame().routeCommand(kCmdHeaders));
    ASSERT_TRUE(frame().routeCommand(kCmdFooters));
    goTo(0, kProtocolHeading);
    EXPECT_TRUE(caretLineText(view).startsWith("2.  Protocol"));
    EXPECT_EQ(pane(), QStringLiteral("Ln %1, Col 1").arg(kProtocolHeading));
    int line = 0;
    int column = 0;
    view.caretLineColumn(line, column);
    EXPECT_EQ(line, kProtocolHeading - 1); // stored 0-based, as bookmarks always were
    goTo(0, 61);
    EXPECT_TRUE(caretLineText(view).contains("Protocol filler line 9 "));

    ASSERT_TRUE(frame().routeCommand(kCmdHeaders));
    view.setCaretLineColumn(kProtocolHeading - 1, 0);
    EXPECT_TRUE(caretLineText(view).startsWith("2.  Protocol"));
}

// Each toggle changes its own state only, and the text at the top of the
// view stays there.
TEST_F(ReadingHabitsTest, HeaderTogglesKeepTheSeparatorsAndTheTopLine)
{
    ReadingView& view = openRfc();
    ASSERT_TRUE(frame().routeCommand(kCmdPageSeparators));
    goTo(0, 40);
    const QString top = view.lineText(view.firstVisibleLine());
    for (int command : {kCmdHeaders, kCmdFooters, kCmdHeaders, kCmdFooters}) {
        ASSERT_TRUE(frame().routeCommand(command));
        EXPECT_TRUE(view.rfcDocument()->viewState().pageSeparators);
        EXPECT_EQ(view.document()->toPlainText().count(pageSeparatorText(1)), 1);
        EXPECT_EQ(view.lineText(view.firstVisibleLine()), top);
    }
}

TEST_F(ReadingHabitsTest, FindBarCountsHighlightsAndReportsInTheStatusBar)
{
    ReadingView& view = openRfc();
    FindBar& bar = findBar(view, "filler line 1");
    EXPECT_TRUE(bar.isVisible());
    EXPECT_FALSE(view.findDialog());
    struct Case {
        const char* text;
        bool matchCase, wholeWord;
        int count;
    };
    // "filler line 1" also starts "filler line 10" to "18" of two sections;
    // as whole words it is "1" of each section and "Closing filler line 1.".
    const Case cases[] = {{"filler line 1", false, false, 21},
                          {"filler line 1", false, true, 3},
                          {"FILLER LINE 1", true, false, 0},
                          {"xyz", false, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bar.matchCaseBox()->setChecked(c.matchCase);
        bar.wholeWordBox()->setChecked(c.wholeWord);
        bar.textEdit()->setText(c.text);
        EXPECT_EQ(bar.countLabel()->text(), QStringLiteral("%1 matches").arg(c.count));
        EXPECT_EQ(view.extraSelections().size(), c.count);
    }
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "\"xyz\" not found");

    bar.textEdit()->setText("Closing filler line 6");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    EXPECT_EQ(pane(), QStringLiteral("Ln %1, Col 25").arg(kClosingFiller6));
    EXPECT_EQ(bar.countLabel()->text(), "1 match");
    QTest::keyClick(&view, Qt::Key_F3);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "Passed the end, continued from the top");
    bar.textEdit()->setText("Protocol filler line 1");
    QTest::keyClick(&view, Qt::Key_F3);
    QTest::keyClick(&view, Qt::Key_F3);
    EXPECT_TRUE(caretLineText(view).contains("Protocol filler line 10 "));
    QTest::keyClick(&view, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(caretLineText(view).contains("Protocol filler line 1 "));

    // Escape closes the bar, takes its marks away and gives the keys back.
    QTest::keyClick(bar.textEdit(), Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_TRUE(view.extraSelections().isEmpty());
    EXPECT_TRUE(view.hasFocus());
}

TEST_F(ReadingHabitsTest, EnterFollowsALinkAndGoToGivesTheKeysBack)
{
    ReadingView& view = openRfc();
    const int entry = find(view, "Protocol ....");
    view.setSelection(entry + 2, entry + 2);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_TRUE(caretLineText(view).startsWith("2.  Protocol"));
    EXPECT_EQ(structureItem(), "2. Protocol");

    goTo(0, 12);
    EXPECT_TRUE(view.hasFocus());
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view.textCursor().selectedText(), QStringLiteral("Abstract").append(QChar::ParagraphSeparator));
}

TEST_F(ReadingHabitsTest, HistoryKeysAndMouseButtons)
{
    ReadingView& view = openRfc();
    view.goToContentsEntry(1);
    view.goToContentsEntry(3);
    EXPECT_EQ(frame().commandAction(kCmdGoBack)->text(), "Go &Back\tAlt+Left");
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { QTest::keyClick(&view, Qt::Key_Left, Qt::AltModifier); }, "2.  Protocol"},
        {[&] { QTest::keyClick(&view, Qt::Key_Right, Qt::AltModifier); }, "4.  References"},
        {[&] { click(view, QPoint(5, 5), Qt::BackButton); }, "2.  Protocol"},
        {[&] { click(view, QPoint(5, 5), Qt::ForwardButton); }, "4.  References"},
    };
    for (const auto& [step, line] : steps) {
        frame().updateCommands(); // as the idle refresh does
        step();
        EXPECT_TRUE(caretLineText(view).startsWith(line)) << line;
    }
}

// Zoom scales every format of the active window and is kept in the
// settings file for the next window and the next run.
TEST_F(ReadingHabitsTest, ZoomKeysScaleEveryFormatAndAreKept)
{
    ReadingView& view = openRfc();
    const auto sizeAt = [&](int position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                              : view.document()->defaultFont().pointSizeF();
    };
    const int title = find(view, "The Parchly Link Protocol");
    const int body = find(view, "This memo");
    const qreal titleSize = sizeAt(title);
    const qreal bodySize = sizeAt(body);
    struct Step {
        Qt::Key key;
        int steps;
    };
    for (const Step& step : {Step{Qt::Key_Plus, 1}, Step{Qt::Key_Equal, 2}, Step{Qt::Key_Minus, 1},
                             Step{Qt::Key_0, 0}, Step{Qt::Key_Minus, -1}}) {
        frame().updateCommands();
        QTest::keyClick(&view, step.key, Qt::ControlModifier);
        EXPECT_EQ(view.zoomSteps(), step.steps);
        EXPECT_NEAR(sizeAt(title), titleSize * zoomScale(step.steps), 0.6);
        EXPECT_NEAR(sizeAt(body), bodySize * zoomScale(step.steps), 0.6);
    }
    EXPECT_EQ(app->profile().readInt("View", "TextZoom", 0), -1);
    EXPECT_EQ(openRfc("rfc9992.txt").zoomSteps(), -1);

    QWheelEvent wheel(QPointF(5, 5), view.viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    frame().activateDocumentWindow(frame().documentWindows().front());
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_EQ(view.zoomSteps(), 0);
}

} // namespace
} // namespace parchly
