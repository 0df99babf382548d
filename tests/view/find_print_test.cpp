// Find over the shown text.
#include "platform/text_view.h"
#include "view/find.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

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
