#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace parchly {

TEST(Dialogs, ScriptedDialogsStandInForTheQtOnesWhileInstalled)
{
    Dialogs* qtDialogs = &dialogs();
    {
        test::ScriptedDialogs scripted;
        scripted.answers.push_back(MessageAnswer::Yes);
        scripted.paths.push_back("/tmp/rfc1.txt");

        EXPECT_EQ(&dialogs(), &scripted);
        EXPECT_EQ(dialogs().message(nullptr, "Overwrite?", MessageButtons::YesNo), MessageAnswer::Yes);
        EXPECT_EQ(dialogs().message(nullptr, "Really?", MessageButtons::YesNo), MessageAnswer::Cancel);
        EXPECT_EQ(dialogs().openFileName(nullptr, "Open", "", ""), "/tmp/rfc1.txt");
        EXPECT_TRUE(dialogs().folderName(nullptr, "Folder", "").isEmpty());
        EXPECT_EQ(scripted.messages, QStringList({"Overwrite?", "Really?"}));
        EXPECT_EQ(scripted.pathCaptions, QStringList({"Open", "Folder"}));
    }
    EXPECT_EQ(&dialogs(), qtDialogs);
}

} // namespace parchly
