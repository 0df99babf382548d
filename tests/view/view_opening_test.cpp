#include "reading_fixture.h"
#include "support/temp_folder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

// A file whose name ends in "rfc-index.txt" is the index, shown as text with
// only its Index tab; the name is matched with case. A file without page
// breaks (or that cannot be read) has nothing to cut and no page to mark.
// None of them says a word.
TEST(ViewOpening, EachKindOfFileIsShownAsItsTextWithItsTabs)
{
    const char* const index = "RFC INDEX\r\n\r\n0001 Host Software. S. Crocker. April 1969.\r\n";
    const char* const onePage = "Network Working Group                                  A. Author\n"
                                "Request for Comments: 9991                             March 2024\n\n"
                                "                       A Single Page\n\nAbstract\n\n   Nothing.\n";
    struct Case {
        const char* name;
        const char* text; // null: no such file
        bool isIndex;
        int tabs;
        const char* mode; // null: not asked
    };
    const Case cases[] = {
        {"rfc-index.txt", index, true, 1, "Index View"},
        {"my-rfc-index.txt", index, true, 1, "Index View"},
        {"RFC-INDEX.TXT", onePage, false, 2, "Structure View"},
        {"rfc1.txt", nullptr, false, 0, nullptr},
    };
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(c.name);
        if (c.text)
            test::writeFile(path.toStdString(), c.text);
        OpenedView opened(path);
        ReadingView& view = opened.open();
        const QString shown = view.toPlainText();
        EXPECT_EQ(shown, c.text ? expectedShownText(path) : QString());
        EXPECT_TRUE(shown.isEmpty() != bool(c.text) && !shown.contains(QLatin1Char('\r')));
        EXPECT_EQ(opened.document.text().isIndex, c.isIndex);
        EXPECT_EQ(opened.host.tabs->count(), c.tabs);
        EXPECT_EQ(opened.host.documentTabs, QStringList{c.name});
        EXPECT_EQ(opened.host.pageTree->topLevelItemCount(), 0);
        view.showNavigatorMode();
        EXPECT_TRUE(!c.mode || opened.host.modePane == c.mode) << opened.host.modePane.toStdString();
        view.setHeadersAndFootersCut(true, true);
        view.setPageSeparatorsShown(true);
        EXPECT_EQ(view.toPlainText(), shown);
        EXPECT_FALSE(view.updatesFrozen());
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace parchly
