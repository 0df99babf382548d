#include "settings/settings.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

#include "support/temp_folder.h"

namespace parchly {
namespace {

using test::readFile;
using test::writeFile;
using Counts = std::vector<int32_t>;

bool sameFormat(const TextFormat& a, const TextFormat& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

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
};

TEST_F(SettingsTest, RootPathsAreNormalised)
{
    EXPECT_EQ(loaded("[settings]\nRfcRootPath=C:\\RFC\\docs\\\n").RfcRootPath, "C:/RFC/docs");
    EXPECT_EQ(normaliseRootPath("\\\\server\\share\\"), "//server/share");
    EXPECT_EQ(normaliseRootPath("/srv/rfc///"), "/srv/rfc");
    EXPECT_EQ(normaliseRootPath("\\/\\"), "");
    EXPECT_EQ(normaliseRootPath("relative/rfc"), "relative/rfc");
}

TEST_F(SettingsTest, LevelCountsEndAtTheFirstEmptyOrUnusableValue)
{
    EXPECT_EQ(loaded("[settings]\nLevel0=400\nLevel1=abc\nLevel2=20\n").IndexLevelCounts, Counts{400});
    EXPECT_EQ(loaded("[settings]\nLevel0=30\nLevel1=-2\nLevel2=4\n").IndexLevelCounts, Counts{30});
    EXPECT_EQ(loaded("[settings]\nlevel0=7\nLEVEL1=8 nodes\nLevel3=9\n").IndexLevelCounts, (Counts{7, 8}));
    EXPECT_EQ(loaded("[settings]\nLevel0=0\nLevel1=5\n").IndexLevelCounts, (Counts{500, 50}));
    EXPECT_EQ(loaded("[settings]\nLevel1=5\n").IndexLevelCounts, (Counts{500, 50}));
}

TEST_F(SettingsTest, SavingAShorterListEndsTheOldOne)
{
    RfcSettings s = loaded("[settings]\nLevel0=1\nLevel1=2\nLevel2=3\nLevel3=4\nLevel4=5\n");
    ASSERT_EQ(s.IndexLevelCounts.size(), 5u);
    s.IndexLevelCounts = {100, 10};
    s.saveSettings(profile);
    EXPECT_EQ(profile.readString("settings", "Level2", "missing"), "");
    RfcSettings again("/");
    again.loadSettings(profile);
    EXPECT_EQ(again.IndexLevelCounts, (Counts{100, 10}));
}

TEST_F(SettingsTest, LoadingEnforcesTheLinkImplications)
{
    RfcSettings s = loaded("[settings]\nDisableContentEntryLink=1\n"
                           "HideInvalidContentEntryInTreeView=0\nDisableInvalidContentEntryLink=0\n"
                           "DisableReferenceAnalysis=2\nDisableReferenceLink=0\n");
    EXPECT_TRUE(s.HideInvalidContentEntryInTreeView && s.DisableInvalidContentEntryLink);
    EXPECT_TRUE(s.DisableReferenceAnalysis && s.DisableReferenceLink);

    s = loaded("[settings]\nHideInvalidContentEntryInTreeView=0\nDisableInvalidContentEntryLink=0\n");
    EXPECT_FALSE(s.HideInvalidContentEntryInTreeView || s.DisableInvalidContentEntryLink);
    EXPECT_FALSE(s.DisableReferenceLink);
}

TEST_F(SettingsTest, FormatSectionsOverrideOnlyWhatTheyHold)
{
    RfcSettings s = loaded("[headers and footers]\nsize=12\n"
                           "[RFC Title]\nfont=Courier New\nstyle=bold, underline\ncolor=1:2:3\n"
                           "[Subtitles]\nsize=0\ncolor=teal\n"
                           "[Table of Contents]\nsize=-3\n");
    const FormatTexts marks = formatToText(s.Formats[kFormatHeadersFooters]);
    EXPECT_EQ(marks.font + "|" + marks.color + "|" + marks.size, "Fixedsys|0:255:0|12");
    const FormatTexts title = formatToText(s.Formats[kFormatTitle]);
    EXPECT_EQ(title.font + "|" + title.style + "|" + title.color + "|" + title.size,
              "Courier New|bold, underline|1:2:3|10");
    // Sizes that are not positive are ignored; an unreadable colour is black.
    EXPECT_EQ(s.Formats[kFormatSubtitles].height, 200);
    EXPECT_EQ(s.Formats[kFormatSubtitles].colour, 0u);
    EXPECT_EQ(s.Formats[kFormatContents].height, 200);
}

TEST_F(SettingsTest, ASavedRecordLoadsBackEqual)
{
    RfcSettings s("/opt/parchly/");
    s.BuildStructureFromText = false;
    s.DisableHeaderAndFooterInAllFiles = true;
    s.DisableSpacesNearHeaderAndFooter = false;
    s.ShowPageSeparator = true;
    s.HideInvalidContentEntryInTreeView = false;
    s.DisableInvalidContentEntryLink = false;
    s.DisableReferenceLink = true;
    s.LargeToolBarButtonWithText = true;
    s.OpenRfcIndexWhenStarted = true;
    s.JumpToRfcIndexInsteadOfFile = true;
    s.UseOnlyDefaultText = true;
    s.KeepCollectionArchive = true;
    s.RfcDownloadUrl = "ftp://mirror.example.org/rfc/RFC-all.zip";
    s.RfcIndexDownloadUrl = "http://mirror.example.org/rfc-index.txt";
    s.RfcRootPath = "/data/rfc = docs";
    s.IndexLevelCounts = {1000, 100, 10};
    s.setCategoryFormat(kFormatSubtitles, textToFormat("DejaVu Sans Mono", "italic", "128:0:64", "11"));
    s.saveSettings(profile);

    RfcSettings back("/elsewhere/");
    back.loadSettings(profile);
    EXPECT_EQ(savedText(back), readFile(path));
    EXPECT_EQ(back.RfcRootPath, "/data/rfc = docs");
    EXPECT_TRUE(sameFormat(back.Formats[kFormatSubtitles], s.Formats[kFormatSubtitles]));
}

// The defaults are those a record loaded without a file saves.
TEST_F(SettingsTest, WithoutAFileEveryDefaultHolds)
{
    RfcSettings s("/opt/parchly/");
    s.loadSettings(profile);
    EXPECT_FALSE(std::filesystem::exists(path)) << "loading must not create the file";
    EXPECT_EQ(RfcSettings().RfcRootPath, "./RFCPath");
    EXPECT_EQ(s.LineWidth, 73);
    EXPECT_EQ(s.PageHeight, 56);
    EXPECT_EQ(s.BlankLineBeforeFooter, -1);
    EXPECT_TRUE(s.SaveTreeView);
    const std::string file = savedText(s);
    EXPECT_EQ(file.substr(0, file.find("[Default]")),
              "[settings]\n"
              "BuildStructureFromText=1\n"
              "DisableHeaderAndFooterInAllFiles=0\n"
              "DisableSpacesNearHeaderAndFooter=1\n"
              "ShowPageSeparator=0\n"
              "HideInvalidContentEntryInTreeView=1\n"
              "DisableContentEntryLink=0\n"
              "DisableInvalidContentEntryLink=1\n"
              "DisableReferenceAnalysis=0\n"
              "DisableReferenceLink=0\n"
              "LargeToolBarButtonWithText=0\n"
              "OpenRfcIndexWhenStarted=0\n"
              "JumpToRfcIndexInsteadOfFile=0\n"
              "KeepCollectionArchive=0\n"
              "RfcDownloadUrl=https://www.rfc-editor.org/in-notes/tar/RFC-all.zip\n"
              "RfcIndexDownloadUrl=https://www.rfc-editor.org/in-notes/rfc-index.txt\n"
              "RfcRootPath=/opt/parchly/RFCPath\n"
              "UseOnlyDefaultText=0\n"
              "Level0=500\n"
              "Level1=50\n"
              "level2=\n");
    EXPECT_NE(file.find("[Headers and Footers]\nfont=Fixedsys\ncolor=0:255:0\nstyle=\nsize=10\n"),
              std::string::npos);
}

TEST_F(SettingsTest, KeysThatAreNeverWrittenSurviveASave)
{
    const std::string kept = "LineWidth=80\nPageHeight=60\nBuildStructureFromTextOnlyIfEmpty=1\n"
                             "BlankLineBeforeFooter=3\nSaveTreeView=0\n";
    RfcSettings s = loaded("[settings]\n" + kept + "ShowPageSeparator=0\n\n[Bookmarks]\nBM0=rfc2616.txt\n");
    EXPECT_EQ(s.LineWidth, 80);
    EXPECT_EQ(s.PageHeight, 60);
    EXPECT_TRUE(s.BuildStructureFromTextOnlyIfEmpty);
    EXPECT_EQ(s.BlankLineBeforeFooter, 3);
    EXPECT_FALSE(s.SaveTreeView);

    s.ShowPageSeparator = true;
    s.saveSettings(profile);
    const std::string file = readFile(path);
    EXPECT_EQ(file.rfind("[settings]\n" + kept + "ShowPageSeparator=1\n", 0), 0u);
    EXPECT_NE(file.find("\n[Bookmarks]\nBM0=rfc2616.txt\n"), std::string::npos);
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
        EXPECT_EQ(format.height, 200) << category;
        EXPECT_EQ(format.colour, 0u) << category;
        EXPECT_EQ(format.effects, 0u) << category;
        EXPECT_EQ(std::strlen(format.faceName), 31u) << category;
    }
}

TEST(SettingsRecord, FormatsAreCopiedOnlyForKnownCategories)
{
    EXPECT_STREQ(categoryName(-1), "");
    EXPECT_STREQ(categoryName(kFormatCategoryCount), "");
    RfcSettings s;
    const TextFormat custom = textToFormat("Custom", "bold", "9:9:9", "20");
    EXPECT_FALSE(s.categoryFormat(kFormatCategoryCount));
    EXPECT_FALSE(s.categoryFormat(-1));
    EXPECT_FALSE(s.setCategoryFormat(-1, custom));
    EXPECT_TRUE(s.setCategoryFormat(kFormatContents, custom));
    const std::optional<TextFormat> out = s.categoryFormat(kFormatContents);
    ASSERT_TRUE(out);
    EXPECT_TRUE(sameFormat(*out, custom));
}

} // namespace
} // namespace parchly
