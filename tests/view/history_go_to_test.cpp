// The history's edge cases and the Go TO dialog's checks, without a reading
// view (find is checked through the find bar in reading_habits_test.cpp).
#include "support/scripted_dialogs.h"
#include "view/go_to_dialog.h"
#include "view/history.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(PositionHistoryTest, EmptyHistoryGoesNowhereAndAPositionIsRecordedOnce)
{
    PositionHistory history;
    EXPECT_EQ(history.goBack(), nullptr);
    EXPECT_EQ(history.goForward(), nullptr);
    history.record({10, 4, 10, 4});
    history.record({10, 4, 10, 4});
    EXPECT_EQ(history.entries().size(), 1u);
    history.record({10, 4, 11, 0}); // a different selection end is another position
    EXPECT_EQ(history.entries().size(), 2u);
}

void choose(GoToDialog& dialog, int row, const QString& number)
{
    dialog.kindList()->setCurrentRow(row);
    dialog.numberEdit()->setText(number);
    dialog.goTo();
}

// A number outside the range is reported and the dialog stays open; the
// last choice (kept for the whole run) is offered again; the index has no
// pages.
TEST(GoToDialogTest, RefusesNumbersOutsideTheRangeAndOffersTheLastChoiceAgain)
{
    test::ScriptedDialogs dialogs;
    GoToChoice last;
    {
        GoToDialog dialog(goToKinds(120, 12, false), last);
        for (const char* typed : {"0", "121", "", "abc"}) {
            choose(dialog, 0, typed);
            EXPECT_EQ(dialog.result(), QDialog::Rejected) << typed;
            EXPECT_EQ(dialogs.messages.value(dialogs.messages.size() - 1),
                      "'Line Number' must be between 1 and 120");
        }
        EXPECT_EQ(dialogs.messages.size(), 4);
        choose(dialog, 1, "13");
        EXPECT_EQ(dialogs.messages.last(), "'Page Number' must be between 1 and 12");
        choose(dialog, 1, "12");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    GoToDialog again(goToKinds(5000, 40, false), last);
    EXPECT_EQ(again.kindList()->currentRow(), 1);
    EXPECT_EQ(again.numberEdit()->text(), "12");
    EXPECT_EQ(again.promptLabel()->text(), "Enter page number");

    GoToDialog index(goToKinds(400, 1, true), last);
    index.kindList()->setCurrentRow(1);
    EXPECT_FALSE(index.numberEdit()->isEnabled() || index.goToButton()->isEnabled());
    index.kindList()->setCurrentRow(0);
    EXPECT_TRUE(index.goToButton()->isEnabled());
}

TEST(GoToDialogTest, EachKindDescribesWhatToEnter)
{
    GoToChoice last;
    GoToDialog dialog(goToKinds(120, 12, false), last);
    const QStringList expected = {"Enter the line number to go to", "Enter the page number to go to"};
    for (int row : {0, 1}) {
        dialog.kindList()->setCurrentRow(row);
        EXPECT_EQ(dialog.descriptionLabel()->text(), expected[row]);
    }
}

} // namespace
} // namespace parchly
