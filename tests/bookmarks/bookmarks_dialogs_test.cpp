// What a user does in the Bookmarks and Favorite RFCs dialogs and what the
// settings file then holds; the stored bookmark text read back and shown,
// and the stored line of a favourite.
#include "bookmarks/bookmark_text.h"
#include "bookmarks/bookmarks_dialog.h"
#include "bookmarks/bookmarks_host.h"
#include "bookmarks/favorite_line.h"
#include "bookmarks/favorite_rfcs_dialog.h"
#include "support/fixture_cases.h"
#include "support/ini_file.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace parchly {

namespace {

using Texts = std::vector<std::string>;

// A stand-in for the main window: open documents, an active one with a
// caret, and files that cannot be opened.
class FakeHost : public BookmarksHost {
public:
    QString activePath;
    QStringList openPaths;
    QSet<QString> missingFiles; // opening these fails
    QStringList openRequests; // every path asked to open, in order
    QList<QPair<int, int>> caretRequests; // every line and column asked for

    QString sectionTitle; // of the caret's section
    QString activeDocumentPath() const override { return activePath; }
    QString activeSectionTitle() const override { return sectionTitle; }
    // The caret stands at 12, 4.
    void activeCaretLineColumn(int& line, int& column) const override { line = 12, column = 4; }
    void setActiveCaretLineColumn(int line, int column) override { caretRequests << qMakePair(line, column); }
    QStringList openDocumentPaths() const override { return openPaths; }
    bool hasDocumentTabs() const override { return !openPaths.isEmpty(); }
    bool openDocument(const QString& path) override
    {
        openRequests << path;
        if (missingFiles.contains(path))
            return false;
        if (!openPaths.contains(path))
            openPaths << path;
        activePath = path;
        return true;
    }
};

// Both dialogs keep a numbered list ("BM0", "BM1", ...) that ends at its
// first empty value; these read and write it past the dialogs' own code.
class StoredListDialogTest : public ::testing::Test {
protected:
    void store(const char* section, const char* prefix, const Texts& values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            ini.profile.writeString(section, prefix + std::to_string(i), values[i]);
    }
    Texts stored(const char* section, const char* prefix) const
    {
        Texts values;
        std::string value;
        while (!(value = ini.profile.readString(section, prefix + std::to_string(values.size()), "")).empty())
            values.push_back(value);
        return values;
    }

    // Runs a dialog of type D through `use` and then closes it.
    template <typename D> void runAndClose(const std::function<void(D&)>& use = {})
    {
        D dialog(host, ini.profile);
        if (use)
            use(dialog);
        dialog.reject();
    }

    test::IniFile ini;
    FakeHost host;
    test::ScriptedDialogs scripted;
};

const QString kActive = QStringLiteral("/home/ann/RFCPath/rfc2616.txt");
// Bookmarks as stored: of the active file (at 12, 4, as the caret stands), and of others.
const std::string kHere = "rfc2616.txt (Ln 12, Col 4) - /home/ann/RFCPath/rfc2616.txt";
const std::string kMine = "Old - rfc2616.txt (Ln 5, Col 2) - /home/ann/RFCPath/rfc2616.txt";
const std::string kOther = "Other - rfc791.txt (Ln 3, Col 0) - /home/ann/RFCPath/rfc791.txt";
const std::string kOther2 = "rfc793.txt (Ln 9, Col 1) - /home/ann/RFCPath/rfc793.txt";

class BookmarksDialogTest : public StoredListDialogTest {
protected:
    BookmarksDialogTest()
    {
        host.activePath = kActive;
        host.openPaths = {kActive};
    }

    void storeBookmarks(const Texts& texts, int showAll = 0)
    {
        ini.profile.writeInt("Bookmarks", "AllBookmarks", showAll);
        store("Bookmarks", "BM", texts);
    }
    Texts bookmarks() const { return stored("Bookmarks", "BM"); }

    // Sets a bookmark under `name` at the caret.
    static void setBookmark(BookmarksDialog& dialog, const QString& name)
    {
        dialog.nameField()->setText(name);
        dialog.setButton()->click();
    }
};

class FavoriteRfcsDialogTest : public StoredListDialogTest {
protected:
    void storeFavorites(const Texts& paths) { store("FavoriteRFCs", "RFC", paths); }
    Texts favorites() const { return stored("FavoriteRFCs", "RFC"); }
};

// Bookmarks of two files, one far past the end, one named after its file.
class BookmarksGoToTest : public BookmarksDialogTest {
protected:
    BookmarksGoToTest()
    {
        storeBookmarks({kMine, kOther, "Far - rfc2616.txt (Ln 99999, Col 3) - /home/ann/RFCPath/rfc2616.txt",
                        "rfc2616.txt notes - rfc2616.txt (Ln 7, Col 7) - /home/ann/RFCPath/rfc2616.txt",
                        kHere},
                       1);
    }

    void goToRow(int row)
    {
        BookmarksDialog dialog(host, ini.profile);
        ASSERT_LT(row, dialog.list()->count()) << "listed only with Show all";
        dialog.list()->item(row)->setSelected(true);
        dialog.goToButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << row;
    }
};

} // namespace

TEST_F(BookmarksDialogTest, SettingTwiceOrInAnotherCaseKeepsOneEntry)
{
    {
        BookmarksDialog none(host, ini.profile);
        none.reject();
        EXPECT_EQ(ini.text().trimmed(), "[Bookmarks]\nAllBookmarks=0") << "nothing to store";
    }
    BookmarksDialog dialog(host, ini.profile);
    EXPECT_EQ(dialog.nameField()->text(), "bookmark");
    EXPECT_FALSE(dialog.goToButton()->isEnabled() || dialog.removeButton()->isEnabled());
    setBookmark(dialog, "Intro");
    setBookmark(dialog, "Intro");
    setBookmark(dialog, "INTRO");
    setBookmark(dialog, "Caching");
    setBookmark(dialog, ""); // the location alone
    // The list and the Location field show this platform's separators and
    // count from 1 as the status bar does; the file keeps the stored count.
    EXPECT_EQ(dialog.locationField()->text(), "rfc2616.txt (Ln 13, Col 5) - /home/ann/RFCPath/rfc2616.txt");
    EXPECT_EQ(dialog.list()->item(0)->text(),
              "Intro - rfc2616.txt (Ln 13, Col 5) - /home/ann/RFCPath/rfc2616.txt");
    dialog.exitButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(bookmarks(), Texts({"Intro - " + kHere, "Caching - " + kHere, kHere}));
}

// A line past the end is handed on as stored (the view leaves the caret); a
// name that begins with the file name opens the right file at 0, 0; a
// bookmark without a name goes back to its location.
TEST_F(BookmarksGoToTest, GoToOpensTheStoredFileAtTheStoredPlace)
{
    // The row chosen, the file opened and the caret asked for.
    const std::tuple<int, QString, QPair<int, int>> cases[] = {{1, "/home/ann/RFCPath/rfc791.txt", {3, 0}},
                                                               {2, kActive, {99999, 3}},
                                                               {3, kActive, {0, 0}},
                                                               {4, kActive, {12, 4}}};
    for (const auto& [row, opened, caret] : cases) {
        goToRow(row);
        EXPECT_EQ(host.openRequests.last(), opened) << row;
        EXPECT_EQ(host.caretRequests.last(), caret) << row;
    }
}

// A file that cannot be opened moves no caret, and the dialog still closes.
TEST_F(BookmarksGoToTest, AFileThatCannotBeOpenedMovesNoCaretAndKeepsItsBookmark)
{
    host.missingFiles.insert("/home/ann/RFCPath/rfc791.txt");
    goToRow(1);
    EXPECT_TRUE(host.caretRequests.isEmpty());
    EXPECT_EQ(bookmarks().size(), 5u);
}

// A list stops at its first gap or empty value; the options written beside
// it and lines the program cannot read are left as they were.
TEST_F(BookmarksDialogTest, ADamagedFileKeepsWhatItCan)
{
    ini.write("[Settings]\nShowPageSeparator=1\ngarbage line\n[Bookmarks]\nAllBookmarks=\n"
              "BM0=no location at all\nBM2=lost - a.txt (Ln 1, Col 1) - \\a.txt\n[unterminated\n");
    runAndClose<BookmarksDialog>([&](BookmarksDialog& dialog) {
        EXPECT_FALSE(dialog.showAllBox()->isChecked());
        dialog.showAllBox()->click();
        EXPECT_EQ(dialog.list()->count(), 1);
        setBookmark(dialog, "");
    });
    EXPECT_EQ(bookmarks(), Texts({"no location at all", kHere}));
    EXPECT_EQ(ini.value("Bookmarks", "AllBookmarks"), "1");
    EXPECT_EQ(ini.value("Settings", "ShowPageSeparator"), "1");
    EXPECT_TRUE(ini.text().contains("garbage line\n")) << ini.text().toStdString();
}

// Only the active file itself (paths compare with case) has bookmarks to
// show and set.
TEST_F(BookmarksDialogTest, OnlyTheActiveFileItselfHasBookmarksToShowAndSet)
{
    storeBookmarks({kOther, kMine, kOther2});
    for (const QString& active : {QStringLiteral("/home/ann/RFCPath/RFC2616.txt"), QString()}) {
        host.activePath = active;
        BookmarksDialog dialog(host, ini.profile);
        EXPECT_EQ(dialog.list()->count(), 0);
        EXPECT_EQ(dialog.setButton()->isEnabled() || dialog.nameField()->isEnabled(), !active.isEmpty());
        EXPECT_EQ(dialog.locationField()->text().isEmpty(), active.isEmpty());
        dialog.showAllBox()->click();
        EXPECT_EQ(dialog.list()->count(), 3);
        dialog.showAllBox()->click();
        dialog.reject();
    }
    EXPECT_EQ(bookmarks(), Texts({kOther, kMine, kOther2}));
}

// The others are kept and written first while Show all is off.
TEST_F(BookmarksDialogTest, OtherFilesBookmarksAreKeptAndWrittenFirst)
{
    storeBookmarks({kOther, kMine, kOther2});
    runAndClose<BookmarksDialog>([&](BookmarksDialog& dialog) {
        EXPECT_FALSE(dialog.showAllBox()->isChecked());
        ASSERT_EQ(dialog.list()->count(), 1);
        setBookmark(dialog, "New");
    });
    EXPECT_EQ(bookmarks(), Texts({kOther, kOther2, kMine, "New - " + kHere}));
}

// Show all lists every file's bookmarks as stored; clicking the box again
// re-reads the file, dropping what was set and not saved.
TEST_F(BookmarksDialogTest, ShowAllListsEveryBookmarkAndAgainDropsWhatWasNotSaved)
{
    storeBookmarks({kOther, kOther2, kMine, "New - " + kHere});
    BookmarksDialog dialog(host, ini.profile);
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
    EXPECT_EQ(bookmarks(), Texts({kOther2, kMine, "New - " + kHere}));
}

TEST(bookmarkText, DamagedTextsReadBackWithoutPositionAndAreShownFromOne)
{
    for (const test::FixtureCase& c : test::readFixtureCases("bookmarks/bookmark-texts.txt")) {
        SCOPED_TRACE(c.title);
        const QString stored = QString::fromStdString(c["stored"]);
        const BookmarkTarget target = readBookmarkText(stored);
        if (c.parts.count("line")) {
            EXPECT_EQ(target.storedPath.toStdString(), c["path"]);
            EXPECT_EQ(target.line, c.number("line"));
        }
        if (c.parts.count("column")) {
            EXPECT_EQ(target.column, c.number("column"));
        }
        if (c.parts.count("shown")) {
            EXPECT_EQ(shownBookmarkText(stored).toStdString(), c["shown"]);
        }
    }
}

// Chosen files are added even twice; the active and open documents once
// each. Stored paths, also without a separator or with long names, survive
// a save, and what is added is stored with "/".
TEST_F(FavoriteRfcsDialogTest, FilesAreAddedAndAllAreStoredWithSlashes)
{
    Texts paths = {"rfc2616.txt", "/home/ann/rfc1.txt", "/docs/" + std::string(30, 'x') + ".txt",
                   "/docs/" + std::string(23, 'y'), "/srv/rfc/RFC791.TXT"};
    storeFavorites(paths);
    scripted.paths = {"/srv/rfc/rfc1034.txt", "/srv/rfc/rfc1034.txt"};
    host.openPaths = {"/srv/rfc/rfc791.txt", "/srv/rfc/rfc793.txt", "/srv/rfc/rfc-index.txt"};
    host.activePath = "/srv/rfc/rfc793.txt";
    FavoriteRfcsDialog dialog(host, ini.profile);
    for (QPushButton* button :
         {dialog.addRfcButton(), dialog.addRfcButton(), dialog.addRfcButton(), dialog.addActiveButton(),
          dialog.addActiveButton(), dialog.addAllOpenedButton(), dialog.addAllOpenedButton()})
        button->click(); // the third Add RFC is cancelled: nothing added
    ASSERT_EQ(dialog.list()->count(), 9);
    dialog.exitButton()->click();
    paths.insert(
        paths.end(),
        {"/srv/rfc/rfc1034.txt", "/srv/rfc/rfc1034.txt", "/srv/rfc/rfc793.txt", "/srv/rfc/rfc-index.txt"});
    EXPECT_EQ(favorites(), paths);
}

TEST_F(FavoriteRfcsDialogTest, RemovingScatteredAndOpeningSeveralWithOneMissing)
{
    storeFavorites(
        {"/r/rfc1.txt", "/r/gone.txt", "/r/rfc3.txt", "/r/rfc4.txt", "/r/rfc5.txt", "/r/rfc6.txt"});
    runAndClose<FavoriteRfcsDialog>([&](FavoriteRfcsDialog& dialog) {
        EXPECT_FALSE(dialog.addActiveButton()->isEnabled() || dialog.addAllOpenedButton()->isEnabled());
        ASSERT_EQ(dialog.list()->count(), 6); // a missing row would crash the test
        for (int row : {2, 4})
            dialog.list()->item(row)->setSelected(true);
        dialog.removeButton()->click();
    });
    EXPECT_EQ(favorites(), Texts({"/r/rfc1.txt", "/r/gone.txt", "/r/rfc4.txt", "/r/rfc6.txt"}));

    host.missingFiles.insert("/r/gone.txt");
    FavoriteRfcsDialog dialog(host, ini.profile);
    ASSERT_EQ(dialog.list()->count(), 4);
    for (int row : {3, 0, 1})
        dialog.list()->item(row)->setSelected(true);
    dialog.addRfcButton()->click(); // cancelled; the list is saved all the same
    dialog.openButton()->click();
    EXPECT_EQ(host.openRequests, QStringList({"/r/rfc1.txt", "/r/gone.txt", "/r/rfc6.txt"}));
    EXPECT_EQ(host.openPaths, QStringList({"/r/rfc1.txt", "/r/rfc6.txt"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(favorites().size(), 4u);
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

// The dialogs close with Close, as every dialog does, and go with Go To,
// as the menu's command says.
TEST_F(BookmarksDialogTest, ButtonsSayGoToAndClose)
{
    BookmarksDialog bookmarks(host, ini.profile);
    FavoriteRfcsDialog favorites(host, ini.profile);
    EXPECT_EQ(bookmarks.goToButton()->text(), "&Go To");
    EXPECT_EQ(bookmarks.exitButton()->text(), "&Close");
    EXPECT_EQ(favorites.exitButton()->text(), "&Close");
}

// Settings files of earlier versions hold "\\" separators: they are read,
// and written back with "/".
TEST_F(BookmarksDialogTest, AnOlderFilesBackslashPathsAreWrittenBackWithSlashes)
{
    storeBookmarks({"Old - rfc2616.txt (Ln 5, Col 2) - \\home\\ann\\RFCPath\\rfc2616.txt"});
    runAndClose<BookmarksDialog>(
        [&](BookmarksDialog& dialog) { EXPECT_EQ(dialog.list()->count(), 1) << "the active file's own"; });
    EXPECT_EQ(bookmarks(), Texts({kMine}));
}

TEST_F(FavoriteRfcsDialogTest, AnOlderFilesBackslashPathsAreWrittenBackWithSlashes)
{
    storeFavorites({"\\r\\rfc1.txt"});
    runAndClose<FavoriteRfcsDialog>();
    EXPECT_EQ(favorites(), Texts({"/r/rfc1.txt"}));
}

// A list that grew needs no empty entry after it; one that shrank ends with
// one.
TEST_F(BookmarksDialogTest, OnlyAShorterListEndsWithAnEmptyEntry)
{
    runAndClose<BookmarksDialog>([&](BookmarksDialog& dialog) { setBookmark(dialog, "Intro"); });
    EXPECT_FALSE(ini.text().contains("BM1=")) << ini.text().toStdString();
    storeBookmarks({kMine, kOther});
    runAndClose<BookmarksDialog>([&](BookmarksDialog& dialog) {
        dialog.list()->item(0)->setSelected(true);
        dialog.removeButton()->click();
    });
    EXPECT_TRUE(ini.text().contains("BM1=\n")) << ini.text().toStdString();
    EXPECT_EQ(bookmarks(), Texts({kOther}));
}

TEST_F(BookmarksDialogTest, ANewBookmarkIsNamedAfterItsSection)
{
    host.sectionTitle = QStringLiteral("2.1. Details");
    BookmarksDialog dialog(host, ini.profile);
    EXPECT_EQ(dialog.nameField()->text(), "2.1. Details");
}

} // namespace parchly
