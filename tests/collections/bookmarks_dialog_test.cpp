// What a user does in the Bookmarks dialog and what the settings file then holds.
#include "collections/bookmarks_dialog.h"
#include "collections/fake_collections_host.h"
#include "collections/ini_file.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace parchly {

namespace {

const QString kActive = QStringLiteral("/home/ann/RFCPath/rfc2616.txt");
const QString kActiveStored = QStringLiteral("\\home\\ann\\RFCPath\\rfc2616.txt");
const std::string kOther = "Other - rfc791.txt (Ln 3, Col 0) - \\home\\ann\\RFCPath\\rfc791.txt";
const std::string kOther2 = "rfc793.txt (Ln 9, Col 1) - \\home\\ann\\RFCPath\\rfc793.txt";
const std::string kMine = "Old - rfc2616.txt (Ln 5, Col 2) - \\home\\ann\\RFCPath\\rfc2616.txt";

QStringList shown(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

class BookmarksDialog : public ::testing::Test {
protected:
    BookmarksDialog()
    {
        host.activePath = kActive;
        host.openPaths = {kActive};
        host.caretLine = 12;
        host.caretColumn = 4;
    }

    void storeBookmarks(const std::vector<std::string>& texts, int showAll = 0)
    {
        ini.profile.writeInt("Bookmarks", "AllBookmarks", showAll);
        ini.writeList("Bookmarks", "BM", texts);
    }

    std::vector<std::string> storedBookmarks() const { return ini.list("Bookmarks", "BM"); }

    test::IniFile ini;
    test::FakeCollectionsHost host;
};

} // namespace

TEST_F(BookmarksDialog, SettingTwiceOrInAnotherCaseKeepsOneEntry)
{
    CBookmarksDlg dialog(host, ini.profile);
    EXPECT_EQ(dialog.nameField()->text(), "bookmark");
    EXPECT_EQ(dialog.locationField()->text(), "rfc2616.txt (Ln 12, Col 4) - " + kActiveStored);
    EXPECT_FALSE(dialog.gotoButton()->isEnabled());
    EXPECT_FALSE(dialog.removeButton()->isEnabled());

    dialog.nameField()->setText("Intro");
    dialog.setButton()->click();
    dialog.setButton()->click();
    dialog.nameField()->setText("INTRO");
    dialog.setButton()->click();
    dialog.nameField()->setText("Caching");
    dialog.setButton()->click();
    // The list shows this platform's separators.
    EXPECT_EQ(shown(dialog.list()),
              QStringList({"Intro - rfc2616.txt (Ln 12, Col 4) - /home/ann/RFCPath/rfc2616.txt",
                           "Caching - rfc2616.txt (Ln 12, Col 4) - /home/ann/RFCPath/rfc2616.txt"}));

    dialog.exitButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(ini.text().contains(
        "BM0=Intro - rfc2616.txt (Ln 12, Col 4) - \\home\\ann\\RFCPath\\rfc2616.txt"));
    EXPECT_EQ(ini.value("Bookmarks", "AllBookmarks"), "0");
    EXPECT_EQ(storedBookmarks().size(), 2u);
    EXPECT_EQ(ini.value("Bookmarks", "BM2"), "");
}

TEST_F(BookmarksDialog, AnEmptyNameStoresTheLocationAlone)
{
    CBookmarksDlg dialog(host, ini.profile);
    dialog.nameField()->clear();
    dialog.setButton()->click();
    dialog.reject();
    EXPECT_EQ(storedBookmarks(),
              std::vector<std::string>({"rfc2616.txt (Ln 12, Col 4) - \\home\\ann\\RFCPath\\rfc2616.txt"}));

    // It reads back as a bookmark of the active file and goes to its place.
    CBookmarksDlg again(host, ini.profile);
    ASSERT_EQ(again.list()->count(), 1);
    again.list()->item(0)->setSelected(true);
    again.gotoButton()->click();
    EXPECT_EQ(host.openRequests, QStringList({kActive}));
    EXPECT_EQ(host.caretRequests, (QList<QPair<int, int>>{{12, 4}}));
}

TEST_F(BookmarksDialog, GotoOpensTheFileAndAsksForTheStoredLineAndColumn)
{
    storeBookmarks({kMine, kOther,
                    "Far - rfc2616.txt (Ln 99999, Col 3) - \\home\\ann\\RFCPath\\rfc2616.txt",
                    "rfc2616.txt notes - rfc2616.txt (Ln 7, Col 7) - \\home\\ann\\RFCPath\\rfc2616.txt"},
                   1);
    auto gotoRow = [this](int row) {
        CBookmarksDlg dialog(host, ini.profile);
        dialog.list()->item(row)->setSelected(true);
        EXPECT_TRUE(dialog.gotoButton()->isEnabled());
        dialog.gotoButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    };

    gotoRow(1);
    EXPECT_EQ(host.openRequests.last(), "/home/ann/RFCPath/rfc791.txt");
    EXPECT_EQ(host.caretRequests.last(), qMakePair(3, 0));
    // A line past the end is handed on as stored; the view leaves the caret.
    gotoRow(2);
    EXPECT_EQ(host.caretRequests.last(), qMakePair(99999, 3));
    // A name that begins with the file name opens the right file at 0, 0.
    gotoRow(3);
    EXPECT_EQ(host.openRequests.last(), kActive);
    EXPECT_EQ(host.caretRequests.last(), qMakePair(0, 0));
    EXPECT_EQ(storedBookmarks().size(), 4u);
}

TEST_F(BookmarksDialog, AFileThatCannotBeOpenedMovesNoCaretAndStillCloses)
{
    storeBookmarks({kOther});
    host.missingFiles.insert("/home/ann/RFCPath/rfc791.txt");
    host.activePath.clear();
    CBookmarksDlg dialog(host, ini.profile);
    dialog.showAllBox()->click();
    dialog.list()->item(0)->setSelected(true);
    dialog.gotoButton()->click();
    EXPECT_EQ(host.openRequests, QStringList({"/home/ann/RFCPath/rfc791.txt"}));
    EXPECT_TRUE(host.caretRequests.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ini.value("Bookmarks", "AllBookmarks"), "1");
}

TEST_F(BookmarksDialog, OtherFilesBookmarksAreKeptAndWrittenFirstWhileShowAllIsOff)
{
    storeBookmarks({kOther, kMine, kOther2});
    {
        CBookmarksDlg dialog(host, ini.profile);
        EXPECT_FALSE(dialog.showAllBox()->isChecked());
        ASSERT_EQ(dialog.list()->count(), 1);
        dialog.nameField()->setText("New");
        dialog.setButton()->click();
        dialog.reject();
    }
    const std::string added = "New - rfc2616.txt (Ln 12, Col 4) - \\home\\ann\\RFCPath\\rfc2616.txt";
    EXPECT_EQ(storedBookmarks(), std::vector<std::string>({kOther, kOther2, kMine, added}));

    // Show all lists every file's bookmarks as stored; clicking the box again
    // re-reads the file, dropping what was set and not saved.
    CBookmarksDlg dialog(host, ini.profile);
    dialog.showAllBox()->click();
    EXPECT_EQ(dialog.list()->count(), 4);
    dialog.setButton()->click();
    EXPECT_EQ(dialog.list()->count(), 5);
    dialog.showAllBox()->click();
    dialog.showAllBox()->click();
    EXPECT_EQ(dialog.list()->count(), 4);
    dialog.list()->item(0)->setSelected(true);
    dialog.removeButton()->click();
    dialog.reject();
    EXPECT_EQ(ini.value("Bookmarks", "AllBookmarks"), "1");
    EXPECT_EQ(storedBookmarks(), std::vector<std::string>({kOther2, kMine, added}));
}

TEST_F(BookmarksDialog, PathsCompareCaseSensitively)
{
    storeBookmarks({kMine});
    host.activePath = "/home/ann/RFCPath/RFC2616.txt";
    CBookmarksDlg dialog(host, ini.profile);
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.reject();
    EXPECT_EQ(storedBookmarks(), std::vector<std::string>({kMine}));
}

TEST_F(BookmarksDialog, WithoutAnActiveDocumentNothingCanBeSet)
{
    storeBookmarks({kOther});
    host.activePath.clear();
    CBookmarksDlg dialog(host, ini.profile);
    EXPECT_FALSE(dialog.setButton()->isEnabled());
    EXPECT_FALSE(dialog.nameField()->isEnabled());
    EXPECT_TRUE(dialog.locationField()->text().isEmpty());
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.showAllBox()->click();
    EXPECT_EQ(dialog.list()->count(), 1);
    EXPECT_FALSE(dialog.setButton()->isEnabled());
}

TEST_F(BookmarksDialog, NoBookmarksSaveOnlyTheFlagAndAnEmptyFirstKey)
{
    CBookmarksDlg dialog(host, ini.profile);
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.reject();
    EXPECT_EQ(ini.text().trimmed(), "[Bookmarks]\nAllBookmarks=0\nBM0=");
}

} // namespace parchly
