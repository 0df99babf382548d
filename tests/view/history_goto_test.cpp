// The history's edge cases, the Go TO dialog's checks and find over a
// text control, without a reading view.
#include "platform/text_view.h"
#include "support/scripted_dialogs.h"
#include "view/find.h"
#include "view/goto_dialog.h"
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
TEST(GotoDialogTest, RefusesNumbersOutsideTheRangeAndOffersTheLastChoiceAgain)
{
    test::ScriptedDialogs dialogs;
    GotoChoice last;
    {
        GoToDialog dialog(gotoKinds(120, 12, false), last);
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
    GoToDialog again(gotoKinds(5000, 40, false), last);
    EXPECT_EQ(again.kindList()->currentRow(), 1);
    EXPECT_EQ(again.numberEdit()->text(), "12");
    EXPECT_EQ(again.promptLabel()->text(), "Enter page number");

    GoToDialog index(gotoKinds(400, 1, true), last);
    index.kindList()->setCurrentRow(1);
    EXPECT_FALSE(index.numberEdit()->isEnabled() || index.goToButton()->isEnabled());
    index.kindList()->setCurrentRow(0);
    EXPECT_TRUE(index.goToButton()->isEnabled());
}

TEST(FindTest, DownwardRoundOnceWholeWordMatchCaseAndUpward)
{
    const QString text = QStringLiteral("alpha Beta alphabet\nbeta gamma Alpha\nend\n");
    TextView view;
    view.setPlainText(text);
    const auto start = [&] { return view.textCursor().selectionStart(); };
    const auto from = [&](int position) { view.setSelection(position, position); };

    // Down from the selection, case ignored, then round to the start.
    for (int expected : {0, 11, int(text.indexOf("Alpha")), 0}) {
        ASSERT_TRUE(findText(view, FindRequest{"alpha"}));
        EXPECT_EQ(start(), expected);
    }
    from(1);
    ASSERT_TRUE(findText(view, {"alpha", false, true, true}));
    EXPECT_EQ(view.textCursor().selectedText(), "Alpha") << "\"alphabet\" is no whole word";
    from(0);
    ASSERT_TRUE(findText(view, {"beta", true, false, true}));
    EXPECT_EQ(start(), text.indexOf("beta gamma"));
    from(text.indexOf("gamma"));
    ASSERT_TRUE(findText(view, {"alpha", false, false, false}));
    EXPECT_EQ(start(), 11);

    EXPECT_FALSE(findText(view, {"omega"}));
    EXPECT_FALSE(findText(view, {""}));
    EXPECT_EQ(start(), 11);
}

} // namespace
} // namespace parchly
