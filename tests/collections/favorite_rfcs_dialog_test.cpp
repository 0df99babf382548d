// What a user does in the Favorite RFCs dialog and what the settings file
// then holds; the stored line of a favourite.
#include "collections/fake_collections_host.h"
#include "collections/favorite_line.h"
#include "collections/favorite_rfcs_dialog.h"
#include "collections/ini_file.h"
#include "support/scripted_dialogs.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace parchly {

namespace {

using Paths = std::vector<std::string>;

class FavoriteRfcsDialogTest : public ::testing::Test {
protected:
    void storeFavorites(const Paths& paths) { ini.writeList("FavoriteRFCs", "RFC", paths); }
    Paths stored() const { return ini.list("FavoriteRFCs", "RFC"); }

    static void select(QListWidget* list, std::initializer_list<int> rows)
    {
        for (int row : rows)
            list->item(row)->setSelected(true);
    }

    test::IniFile ini;
    test::FakeCollectionsHost host;
    test::ScriptedDialogs scripted;
};

} // namespace

TEST_F(FavoriteRfcsDialogTest, ChosenFilesAreAddedEvenTwiceAndStoredWithBackslashes)
{
    scripted.paths = {"/srv/rfc/rfc1034.txt", "/srv/rfc/rfc1034.txt"};
    FavoriteRfcsDialog dialog(host, ini.profile);
    EXPECT_FALSE(dialog.addActiveButton()->isEnabled() || dialog.addAllOpenedButton()->isEnabled());
    dialog.addRfcButton()->click();
    dialog.addRfcButton()->click();
    dialog.addRfcButton()->click(); // cancelled: nothing added
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(0)->text(), "rfc1034.txt" + QString(13, ' ') + "/srv/rfc/rfc1034.txt");
    dialog.exitButton()->click();
    EXPECT_EQ(stored(), Paths(2, "\\srv\\rfc\\rfc1034.txt"));
    EXPECT_EQ(ini.value("FavoriteRFCs", "RFC2"), "");
}

// Stored paths, also without a backslash or with long names, survive a
// save; the active and open documents are added once each.
TEST_F(FavoriteRfcsDialogTest, StoredPathsSurviveAndOpenDocumentsAreNeverAddedTwice)
{
    Paths paths = {"rfc2616.txt", "/home/ann/rfc1.txt", "\\docs\\" + std::string(30, 'x') + ".txt",
                   "\\docs\\" + std::string(23, 'y'), "\\srv\\rfc\\RFC791.TXT"};
    storeFavorites(paths);
    host.openPaths = {"/srv/rfc/rfc791.txt", "/srv/rfc/rfc793.txt", "/srv/rfc/rfc-index.txt"};
    host.activePath = "/srv/rfc/rfc793.txt";
    FavoriteRfcsDialog dialog(host, ini.profile);
    dialog.addActiveButton()->click();
    dialog.addActiveButton()->click();
    dialog.addAllOpenedButton()->click();
    dialog.addAllOpenedButton()->click();
    dialog.reject();
    paths.insert(paths.end(), {"\\srv\\rfc\\rfc793.txt", "\\srv\\rfc\\rfc-index.txt"});
    EXPECT_EQ(stored(), paths);
}

TEST_F(FavoriteRfcsDialogTest, RemovingScatteredAndOpeningSeveralWithOneMissing)
{
    storeFavorites({"\\r\\rfc1.txt", "\\r\\gone.txt", "\\r\\rfc3.txt", "\\r\\rfc4.txt", "\\r\\rfc5.txt",
                    "\\r\\rfc6.txt"});
    {
        FavoriteRfcsDialog dialog(host, ini.profile);
        select(dialog.list(), {2, 4});
        dialog.removeButton()->click();
        dialog.reject();
    }
    EXPECT_EQ(stored(), Paths({"\\r\\rfc1.txt", "\\r\\gone.txt", "\\r\\rfc4.txt", "\\r\\rfc6.txt"}));

    host.missingFiles.insert("/r/gone.txt");
    FavoriteRfcsDialog dialog(host, ini.profile);
    select(dialog.list(), {3, 0, 1});
    dialog.addRfcButton()->click(); // cancelled; the list is saved all the same
    dialog.openButton()->click();
    EXPECT_EQ(host.openRequests, QStringList({"/r/rfc1.txt", "/r/gone.txt", "/r/rfc6.txt"}));
    EXPECT_EQ(host.openPaths, QStringList({"/r/rfc1.txt", "/r/rfc6.txt"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored().size(), 4u);
}

TEST(favoriteLine, PutsTheFileNameInAColumnOf24)
{
    // The name's length and the spaces after it; at least two from 24 on.
    const std::pair<int, int> cases[] = {{23, 1}, {24, 2}, {30, 2}, {8, 16}};
    for (const auto& [length, spaces] : cases) {
        const QString name = QString(length - 4, 'a') + ".txt";
        EXPECT_EQ(favoriteLine("\\r\\" + name), name + QString(spaces, ' ') + "\\r\\" + name) << length;
        EXPECT_EQ(favoritePath(favoriteLine("\\r\\" + name)), "\\r\\" + name) << length;
    }
}

} // namespace parchly
