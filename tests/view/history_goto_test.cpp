// The history's rules and the Go TO dialog, without a view.
#include "support/scripted_dialogs.h"
#include "view/goto_dialog.h"
#include "view/history.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace parchly {
namespace {

HistoryEntry at(int line, int column = 0)
{
    return {line, column, line, column};
}

TEST(PositionHistoryTest, EmptyHistoryOffersNeitherDirection)
{
    PositionHistory history;
    EXPECT_EQ(history.position(), -1);
    EXPECT_FALSE(history.canGoBack());
    EXPECT_FALSE(history.canGoForward());
    EXPECT_EQ(history.goBack(), nullptr);
    EXPECT_EQ(history.goForward(), nullptr);
}

TEST(PositionHistoryTest, TheSamePositionTwiceIsRecordedOnce)
{
    PositionHistory history;
    history.record(at(10, 4));
    history.record(at(10, 4));
    EXPECT_EQ(history.entries().size(), 1u);
    history.record({10, 4, 11, 0}); // a different selection end is another position
    EXPECT_EQ(history.entries().size(), 2u);
    EXPECT_EQ(history.position(), 1);
}

// The last choice is kept for the whole run; each test starts from none.
class GotoDialogTest : public ::testing::Test {
protected:
    void SetUp() override { lastGotoChoice() = GotoChoice(); }
    void TearDown() override { lastGotoChoice() = GotoChoice(); }
    test::ScriptedDialogs dialogs;
};

TEST_F(GotoDialogTest, ANumberOutsideTheRangeIsReportedAndTheDialogStaysOpen)
{
    CGotoDlg dialog(gotoKinds(120, 3, false));
    for (const char* typed : {"0", "121", "", "abc"}) {
        dialog.numberEdit()->setText(typed);
        dialog.goTo();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << typed;
    }
    ASSERT_EQ(dialogs.messages.size(), 4);
    EXPECT_EQ(dialogs.messages[0], "'Line Number' must be between 1 and 120");
    EXPECT_EQ(lastGotoChoice().number, 0);

    dialog.kindList()->setCurrentRow(1);
    dialog.numberEdit()->setText("4");
    dialog.goTo();
    EXPECT_EQ(dialogs.messages.last(), "'Page Number' must be between 1 and 3");
}

TEST_F(GotoDialogTest, TheLastChoiceIsOfferedAgainInAnotherDialog)
{
    {
        CGotoDlg dialog(gotoKinds(120, 12, false));
        dialog.kindList()->setCurrentRow(1);
        dialog.numberEdit()->setText("12");
        dialog.goTo();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.choice().kind, kGotoPage);
        EXPECT_EQ(dialog.choice().number, 12);
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
    CGotoDlg again(gotoKinds(5000, 40, false));
    EXPECT_EQ(again.kindList()->currentRow(), 1);
    EXPECT_EQ(again.numberEdit()->text(), "12");
    EXPECT_EQ(again.promptLabel()->text(), "Enter page number");
}

TEST_F(GotoDialogTest, TheIndexListsPageButDisablesIt)
{
    CGotoDlg dialog(gotoKinds(400, 1, true));
    dialog.kindList()->setCurrentRow(1);
    EXPECT_FALSE(dialog.numberEdit()->isEnabled());
    EXPECT_FALSE(dialog.goToButton()->isEnabled());
    dialog.kindList()->setCurrentRow(0);
    EXPECT_TRUE(dialog.goToButton()->isEnabled());
}

} // namespace
} // namespace parchly
