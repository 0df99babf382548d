// One settings file holds the options, the formats, the bookmarks, the
// favourites and the tip state side by side: what the program writes it
// reads back to the same state, and a hand-damaged file loads what it can.
#include "settings/settings.h"
#include "collections/bookmarks_dialog.h"
#include "collections/fake_collections_host.h"
#include "collections/favorite_rfcs_dialog.h"
#include "collections/ini_file.h"
#include "support/scripted_dialogs.h"
#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>

namespace parchly {

namespace {

class SharedIniFile : public ::testing::Test {
protected:
    SharedIniFile()
    {
        std::ofstream(ini.directory() + "tips.txt") << "First tip\nSecond tip\n";
        host.activePath = "/srv/rfc/rfc9110.txt";
        host.openPaths = {host.activePath};
        host.caretLine = 40;
        host.caretColumn = 2;
    }

    test::IniFile ini;
    test::ScriptedDialogs scripted;
    test::FakeCollectionsHost host;
};

} // namespace

// A hand-damaged file loads what can be kept; what the program then writes
// beside it reads back to the same state.
TEST_F(SharedIniFile, AHandDamagedFileLoadsWhatCanBeKeptAndWritesReadBack)
{
    ini.write("[Bookmarks]\nAllBookmarks=\nBM0=no location at all\nBM2=lost - a.txt (Ln 1, Col 1) - \\a.txt\n"
              "[FavoriteRFCs]\nRFC0=\\srv\\rfc\\rfc1.txt\nRFC1=\nRFC2=\\srv\\rfc\\rfc2.txt\n"
              "[Tip]\nStartUp=\nFilePos=abc\nTimeStamp=\n"
              "garbage line without a section\n[unterminated section\n");
    RfcSettings settings("/srv/");
    settings.ShowPageSeparator = true;
    settings.saveSettings(ini.profile);
    {
        BookmarksDialog bookmarks(host, ini.profile);
        EXPECT_FALSE(bookmarks.showAllBox()->isChecked());
        bookmarks.showAllBox()->click();
        EXPECT_EQ(bookmarks.list()->count(), 1);
        bookmarks.setButton()->click();
        bookmarks.reject();
    }
    {
        FavoriteRfcsDialog favorites(host, ini.profile);
        EXPECT_EQ(favorites.list()->count(), 1);
        favorites.addActiveButton()->click();
        favorites.reject();
    }
    {
        TipDialog tip(ini.directory(), ini.profile);
        EXPECT_TRUE(tip.showAtStartUp());
        EXPECT_EQ(tip.tipText(), "First tip");
        tip.startUpBox()->setChecked(false);
        tip.closeButton()->click();
    }
    EXPECT_EQ(ini.value("Tip", "FilePos"), "10");
    EXPECT_TRUE(scripted.messages.isEmpty());

    RfcSettings loaded("/elsewhere/");
    loaded.loadSettings(ini.profile);
    EXPECT_TRUE(loaded.ShowPageSeparator);
    BookmarksDialog bookmarks(host, ini.profile);
    EXPECT_TRUE(bookmarks.showAllBox()->isChecked());
    ASSERT_EQ(bookmarks.list()->count(), 2);
    // Stored from 0, shown from 1.
    EXPECT_EQ(bookmarks.list()->item(1)->text(),
              "bookmark - rfc9110.txt (Ln 41, Col 3) - /srv/rfc/rfc9110.txt");
    FavoriteRfcsDialog favorites(host, ini.profile);
    ASSERT_EQ(favorites.list()->count(), 2);
    EXPECT_TRUE(favorites.list()->item(1)->text().endsWith(" /srv/rfc/rfc9110.txt"));
    TipDialog tip(ini.directory(), ini.profile);
    EXPECT_FALSE(tip.showAtStartUp());
    EXPECT_EQ(tip.tipText(), "Second tip");
}

} // namespace parchly
