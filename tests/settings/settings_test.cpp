#include "settings/settings.h"
#include "settings/download_addresses.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

#include "support/fixture_cases.h"
#include "support/temp_folder.h"

namespace parchly {
namespace {

using test::readFile;
using test::writeFile;
using Counts = std::vector<int32_t>;

class SettingsTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::string path = folder.file("Parchly.ini");
    Profile profile{path};

    RfcSettings loaded(const std::string& fileText)
    {
        writeFile(path, fileText);
        RfcSettings settings("/opt/parchly/");
        settings.loadSettings(profile);
        return settings;
    }

    // The file a record saves to on its own: two records that save alike
    // hold the same stored settings.
    std::string savedText(const RfcSettings& settings)
    {
        Profile scratch(folder.file("scratch.ini"));
        std::remove(scratch.path().c_str());
        settings.saveSettings(scratch);
        return readFile(scratch.path());
    }

    // A record loaded from the file as it is.
    RfcSettings reloaded(const char* programFolder = "/opt/parchly/") const
    {
        RfcSettings settings(programFolder);
        settings.loadSettings(profile);
        return settings;
    }
};

// A user's file with keys the record never writes, five level counts and
// a bookmark.
class SavedRecordTest : public SettingsTest {
protected:
    // Each saved flag turned from what it holds (here its default), the
    // addresses, the folder, two level counts and a format changed.
    void changeEverything(RfcSettings& s)
    {
        for (bool RfcSettings::*flag :
             {&RfcSettings::BuildStructureFromText, &RfcSettings::DisableHeaderAndFooterInAllFiles,
              &RfcSettings::DisableSpacesNearHeaderAndFooter, &RfcSettings::ShowPageSeparator,
              &RfcSettings::HideInvalidContentEntryInTreeView, &RfcSettings::DisableInvalidContentEntryLink,
              &RfcSettings::DisableReferenceLink, &RfcSettings::LargeToolBarButtonWithText,
              &RfcSettings::OpenRfcIndexWhenStarted, &RfcSettings::JumpToRfcIndexInsteadOfFile,
              &RfcSettings::UseOnlyDefaultText, &RfcSettings::KeepCollectionArchive})
            s.*flag = !(s.*flag);
        s.RfcDownloadUrl = "ftp://mirror.example.org/rfc/RFC-all.zip";
        s.RfcIndexDownloadUrl = "http://mirror.example.org/rfc-index.txt";
        s.RfcRootPath = "/data/rfc = docs";
        s.IndexLevelCounts = {1000, 100};
        s.setCategoryFormat(kFormatSubtitles, textToFormat("DejaVu Sans Mono", "italic", "128:0:64", "11"));
    }

    RfcSettings loadUsersFile()
    {
        return loaded("[settings]\n" + kept + "ShowPageSeparator=0\nLevel0=1\nLevel1=2\nLevel2=3\n"
                      + "Level3=4\nLevel4=5\n\n[Bookmarks]\nBM0=rfc2616.txt\n");
    }

    // The user's file loaded, changed everywhere and saved back.
    RfcSettings changedAndSaved()
    {
        RfcSettings s = loadUsersFile();
        changeEverything(s);
        s.saveSettings(profile);
        return s;
    }

    const std::string kept = "LineWidth=80\nPageHeight=60\nBuildStructureFromTextOnlyIfEmpty=1\n"
                             "BlankLineBeforeFooter=3\nSaveTreeView=0\n";
};

// What a file loads to, told by what the loaded record saves on its own.
TEST_F(SettingsTest, AFileLoadsToWhatTheRecordThenSaves)
{
    for (const test::FixtureCase& c : test::readFixtureCases("settings/loaded-and-saved.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_NE(savedText(loaded(c["file"])).find(c["saves"]), std::string::npos) << c["file"];
    }
}

TEST_F(SavedRecordTest, KeysTheRecordNeverWritesAreReadAsStored)
{
    const RfcSettings s = loadUsersFile();
    EXPECT_EQ(s.LineWidth, 80);
    EXPECT_EQ(s.PageHeight, 60);
    EXPECT_TRUE(s.BuildStructureFromTextOnlyIfEmpty);
    EXPECT_EQ(s.BlankLineBeforeFooter, 3);
    EXPECT_FALSE(s.SaveTreeView);
    EXPECT_EQ(s.IndexLevelCounts.size(), 5u);
}

// Saving into the user's file keeps the keys it never writes and the other
// sections, and ends a longer level list stored before.
TEST_F(SavedRecordTest, SavingKeepsWhatItDoesNotWriteAndEndsALongerLevelList)
{
    changedAndSaved();
    const std::string file = readFile(path);
    EXPECT_EQ(file.rfind("[settings]\n" + kept + "ShowPageSeparator=1\n", 0), 0u) << file;
    EXPECT_NE(file.find("\n[Bookmarks]\nBM0=rfc2616.txt\n"), std::string::npos);
    EXPECT_NE(file.find("Level2=\n"), std::string::npos) << file;
    EXPECT_EQ(reloaded("/elsewhere/").IndexLevelCounts, (Counts{1000, 100}));
}

TEST_F(SavedRecordTest, ASavedRecordLoadsBackToOneThatSavesAlike)
{
    const RfcSettings s = changedAndSaved();
    const RfcSettings back = reloaded("/elsewhere/");
    EXPECT_EQ(back.RfcRootPath, "/data/rfc = docs");
    EXPECT_EQ(savedText(back), savedText(s));
    EXPECT_NE(
        savedText(back).find("[Subtitles]\nfont=DejaVu Sans Mono\ncolor=128:0:64\nstyle=italic\nsize=11\n"),
        std::string::npos);
}

// The errata status filter the Errata tab changes is kept at once, in a
// section of its own beside the "Errata" display format, and read back.
TEST_F(SettingsTest, ErrataFilterIsStoredAndReadBack)
{
    // Verified, held, reported, rejected.
    const auto shown = [](const RfcSettings& s) {
        return std::vector<bool>{s.ErrataShowVerified, s.ErrataShowHeld, s.ErrataShowReported,
                                 s.ErrataShowRejected};
    };
    RfcSettings s = reloaded();
    EXPECT_EQ(shown(s), std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(s.ErrataDownloadUrl, "https://www.rfc-editor.org/errata.json");
    s.ErrataShowHeld = false;
    s.ErrataShowReported = true;
    s.saveErrataFilter(profile);
    EXPECT_NE(
        readFile(path).find("[ErrataFilter]\nShowVerified=1\nShowHeld=0\nShowReported=1\nShowRejected=0\n"),
        std::string::npos)
        << readFile(path);
    EXPECT_EQ(shown(reloaded()), std::vector<bool>({true, false, true, false}));
}

// The defaults are those a record loaded without a file saves.
TEST_F(SettingsTest, WithoutAFileEveryDefaultHolds)
{
    RfcSettings s = reloaded();
    EXPECT_FALSE(std::filesystem::exists(path)) << "loading must not create the file";
    EXPECT_EQ(RfcSettings().RfcRootPath, "./RFCPath");
    EXPECT_EQ(s.LineWidth, 73);
    EXPECT_EQ(s.PageHeight, 56);
    EXPECT_EQ(s.BlankLineBeforeFooter, -1);
    EXPECT_TRUE(s.SaveTreeView);
    const std::string file = savedText(s);
    // The [settings] section a fresh record saves, as a file of its own.
    EXPECT_EQ(file.substr(0, file.find("[Default]")), test::readFixture("settings/defaults.ini"));
    EXPECT_NE(file.find("[Headers and Footers]\nfont=Fixedsys\ncolor=0:128:0\nstyle=\nsize=10\n"),
              std::string::npos);

    // Categories that do not exist have no format to read or set.
    for (int category : {-1, int(kFormatCategoryCount)}) {
        EXPECT_STREQ(categoryName(category), "");
        EXPECT_FALSE(s.categoryFormat(category));
        EXPECT_FALSE(s.setCategoryFormat(category, s.Formats[0]));
    }
}

TEST_F(SettingsTest, GarbageInEveryValueLoadsWithoutHarm)
{
    // Every key the program writes, and those it only reads, with junk for a value.
    const std::string junk = "\x01\xFF junk ] [ = \xC3" + std::string(100, 'z');
    std::string file = std::regex_replace(savedText(RfcSettings("/")), std::regex("=.*"), "=" + junk);
    file = std::regex_replace(file, std::regex("RfcRootPath=.*"), "RfcRootPath=" + std::string(3000, '\\'));
    file.insert(file.find('\n') + 1,
                "LineWidth=" + junk + "\nBlankLineBeforeFooter=" + junk + "\nSaveTreeView=" + junk + "\n");
    const RfcSettings s = loaded(file);

    // Numbers and flags without digits read as 0.
    EXPECT_EQ(s.LineWidth, 0);
    EXPECT_FALSE(s.BuildStructureFromText);
    EXPECT_EQ(s.RfcDownloadUrl, junk);
    EXPECT_EQ(s.RfcRootPath, "");
    EXPECT_EQ(s.IndexLevelCounts, (Counts{500, 50}));
    for (int category = 0; category < kFormatCategoryCount; ++category) {
        const TextFormat& format = s.Formats[category];
        EXPECT_TRUE(format.height == 200 && format.colour == 0 && format.effects == 0) << category;
        EXPECT_EQ(std::strlen(format.faceName), 31u) << category;
    }
}

// The level counts keep one spelling, and a list that was no longer needs
// no empty entry after it.
TEST_F(SettingsTest, LevelCountsAreWrittenInOneSpellingWithoutAnEmptyEntry)
{
    RfcSettings s("/opt/parchly/");
    s.IndexLevelCounts = {500, 50};
    s.saveSettings(profile);
    const std::string file = readFile(path);
    EXPECT_NE(file.find("Level0=500\nLevel1=50\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("level"), std::string::npos) << file;
    EXPECT_EQ(file.find("Level2="), std::string::npos) << file;
}

// Each address an older version wrote as its default gives way to today's
// on the first start, in the record and in the file.
TEST_F(SettingsTest, OldDefaultAddressesAreReplacedOnFirstStart)
{
    for (const test::FixtureCase& c : test::readFixtureCases("settings/old-default-addresses.txt")) {
        SCOPED_TRACE(c.title);
        RfcSettings s = loaded("[settings]\n" + c["key"] + "=" + c["old"] + "\n");
        EXPECT_TRUE(migrateOldDefaultAddresses(s, profile));
        const bool collection = c["key"] == "RfcDownloadUrl";
        const std::string today = collection ? kDefaultCollectionUrl : kDefaultIndexUrl;
        EXPECT_EQ(collection ? s.RfcDownloadUrl : s.RfcIndexDownloadUrl, today);
        EXPECT_EQ(profile.readString("settings", c["key"], ""), today) << "the old address stays in the file";
    }
}

TEST_F(SettingsTest, TypedAddressesAreNeverMigrated)
{
    const std::string file =
        "[settings]\nRfcDownloadUrl=https://mirror.example.org/in-notes/tar/RFC-all.zip\n"
        "RfcIndexDownloadUrl=https://www.rfc-editor.org/in-notes/rfc-index.txt.bak\n";
    RfcSettings s = loaded(file);
    EXPECT_FALSE(migrateOldDefaultAddresses(s, profile));
    EXPECT_EQ(s.RfcDownloadUrl, "https://mirror.example.org/in-notes/tar/RFC-all.zip");
    EXPECT_EQ(s.RfcIndexDownloadUrl, "https://www.rfc-editor.org/in-notes/rfc-index.txt.bak");
    EXPECT_EQ(readFile(path), file);
}

TEST_F(SettingsTest, NewRfcCheckAndLastCheckTimeAreKept)
{
    EXPECT_EQ(loaded("[settings]\nCheckForNewRfcs=2\n").CheckForNewRfcs, NewRfcCheck::Weekly);
    EXPECT_EQ(loaded("[settings]\nCheckForNewRfcs=9\n").CheckForNewRfcs, NewRfcCheck::Never);
    EXPECT_EQ(RfcSettings::lastNewRfcCheck(profile), 0);
    RfcSettings::saveLastNewRfcCheck(profile, 4102444800); // past 2038
    EXPECT_EQ(RfcSettings::lastNewRfcCheck(profile), 4102444800);
}

TEST(SingleRfcUrlTest, NumberAndFolderMakeTheAddressAndLocalName)
{
    EXPECT_EQ(singleRfcUrl("https://www.rfc-editor.org/rfc/", 9110),
              "https://www.rfc-editor.org/rfc/rfc9110.txt");
    EXPECT_EQ(singleRfcUrl("https://mirror.example.org/rfc", 1), "https://mirror.example.org/rfc/rfc1.txt");
    EXPECT_EQ(singleRfcUrl("https://www.rfc-editor.org/rfc/", 0), "");
    EXPECT_EQ(singleRfcUrl("", 9110), "") << "an empty address names no server";
    EXPECT_EQ(rfcFileName(791), "rfc791.txt");
}

} // namespace
} // namespace parchly
