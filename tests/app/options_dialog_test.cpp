// What a user does in the Options dialog (and its font chooser) and what the
// settings then hold, in memory and in the settings file.
#include "app/options_dialog.h"
#include "app/options_format_page.h"
#include "app/options_level_counts.h"
#include "app/options_regular_page.h"
#include "app/options_rfc_page.h"
#include "settings/formats.h"
#include "settings/settings.h"
#include "support/fixture_cases.h"
#include "support/ini_file.h"
#include "platform/char_format.h"
#include "platform/font_chooser.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace parchly {

namespace {

class OptionsDialogTest : public ::testing::Test {
protected:
    void applyPage(OptionsDialog& dialog, int page)
    {
        dialog.tabs()->setCurrentIndex(page);
        dialog.applyButton()->click();
    }

    // Opens the Format page on `category` and runs its font chooser.
    void chooseFont(OptionsDialog& dialog, int category)
    {
        dialog.tabs()->setCurrentIndex(OptionsDialog::kFormatPage);
        dialog.formatPage()->categoryBox()->setCurrentIndex(category);
        dialog.formatPage()->selectButton()->click();
    }

    test::IniFile ini;
    test::ScriptedDialogs scripted;
    RfcSettings settings{"/home/ann/"};
    std::string lastBrowsedFolder;
};

// A dialog on settings with level counts and links on, over a settings
// file holding a line of its own.
class OptionsPagesTest : public OptionsDialogTest {
protected:
    void SetUp() override
    {
        ini.write("[settings]\nLineWidth=80\n");
        settings.IndexLevelCounts = {400, 40, 12};
        settings.DisableReferenceLink = settings.DisableInvalidContentEntryLink = false;
        settings.HideInvalidContentEntryInTreeView = false;
        dialog = std::make_unique<OptionsDialog>(settings, ini.profile, lastBrowsedFolder);
        page = dialog->regularPage();
    }

    // The Regular page with three boxes changed and the counts `counts`.
    void applyRegular(const QString& counts)
    {
        page->box("OpenRfcIndexWhenStarted")->setChecked(true);
        page->box("BuildStructureFromText")->setChecked(false);
        page->box("LargeToolBarButtonWithText")->setChecked(true);
        page->levelCountsField()->setText(counts);
        applyPage(*dialog, OptionsDialog::kRegularPage);
    }

    const QString refused = "Wrong value: 9.\nMust be greater than 10!";
    std::unique_ptr<OptionsDialog> dialog;
    OptionsRegularPage* page = nullptr;
};

// A dialog on the stored settings, for the Format page.
class OptionsFormatTest : public OptionsDialogTest {
protected:
    OptionsDialog dialog{settings, ini.profile, lastBrowsedFolder};
    OptionsFormatPage* page = dialog.formatPage();
};

// ---- The level counts, the Regular and RFC pages ----

// Counts separated by commas with spaces or tabs and a trailing comma, held
// at the largest int; each message names what is wrong, and a rejected text
// leaves the counts as they were (OptionsDialogTest reads "500 ,50 ," and
// refuses "9" and "500, 9").
TEST(LevelCounts, ListsOfCountsAreReadOrRefusedWithTheirMessage)
{
    for (const test::FixtureCase& c : test::readFixtureCases("app/level-counts.txt")) {
        SCOPED_TRACE(c.title);
        std::vector<int32_t> counts = {400, 40}, expected = {400, 40};
        if (!c["counts"].empty())
            expected.clear();
        for (const std::string& count : c.items("counts"))
            expected.push_back(std::stoi(count));
        QString message;
        EXPECT_EQ(parseLevelCounts(QString::fromStdString(c["text"]), counts, message), c["message"].empty());
        EXPECT_EQ(counts, expected);
        EXPECT_EQ(message.toStdString(), c["message"]);
    }
}

TEST_F(OptionsPagesTest, TheLevelCountsAreShownAsAList)
{
    EXPECT_EQ(page->levelCountsField()->text(), "400, 40, 12");
}

// A master switch turned on sets and locks its dependent boxes; turned off,
// it unlocks them, still set.
TEST_F(OptionsPagesTest, AMasterSwitchSetsAndLocksItsDependentsAndUnlocksThemStillSet)
{
    const std::pair<const char*, std::vector<const char*>> switches[] = {
        {"DisableReferenceAnalysis", {"DisableReferenceLink"}},
        {"DisableContentEntryLink", {"DisableInvalidContentEntryLink", "HideInvalidContentEntryInTreeView"}},
    };
    for (const auto& [master, dependents] : switches) {
        for (bool on : {true, false}) {
            page->box(master)->click();
            for (const char* dependent : dependents) {
                const QCheckBox* box = page->box(dependent);
                EXPECT_TRUE(box->isChecked() && box->isEnabled() != on) << dependent << on;
            }
        }
    }
}

TEST_F(OptionsPagesTest, ARefusedPageShowsItsMessageAndStoresNothing)
{
    applyRegular("500, 9");
    EXPECT_EQ(scripted.messages, QStringList({refused}));
    EXPECT_FALSE(settings.OpenRfcIndexWhenStarted);
    EXPECT_EQ(settings.IndexLevelCounts, std::vector<int32_t>({400, 40, 12}));
    EXPECT_EQ(ini.text(), "[settings]\nLineWidth=80\n");
}

TEST_F(OptionsPagesTest, AnAcceptedPageStoresAndWritesEverythingAndKeepsOtherLines)
{
    applyRegular("500 ,50 ,");
    EXPECT_TRUE(scripted.messages.isEmpty());
    EXPECT_EQ(settings.IndexLevelCounts, std::vector<int32_t>({500, 50}));
    EXPECT_TRUE(settings.OpenRfcIndexWhenStarted && settings.LargeToolBarButtonWithText);
    EXPECT_FALSE(settings.BuildStructureFromText);
    EXPECT_EQ(ini.value("settings", "Level1"), "50");
    EXPECT_EQ(ini.value("settings", "OpenRfcIndexWhenStarted"), "1");
    EXPECT_EQ(ini.value("settings", "LineWidth"), "80");
}

// OK applies every page and closes even when one refuses: the refused page
// stores nothing, the others all they hold.
TEST_F(OptionsPagesTest, OkAppliesEveryPageAndClosesEvenWhenOneRefuses)
{
    page->levelCountsField()->setText("9");
    page->box("ShowPageSeparator")->setChecked(true);
    dialog->rfcPage()->collectionUrlField()->setText("not checked at all");
    dialog->rfcPage()->keepArchiveBox()->click();
    dialog->rfcPage()->checkForNewBox()->setCurrentIndex(2);
    dialog->rfcPage()->fetchMissingBox()->click();
    dialog->formatPage()->indexBarBox()->setChecked(false);
    dialog->okButton()->click();
    EXPECT_EQ(scripted.messages, QStringList({refused}));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(settings.ShowPageSeparator);
    EXPECT_EQ(ini.value("settings", "ShowPageSeparator"), "0");
    EXPECT_EQ(ini.value("settings", "RfcDownloadUrl"), "not checked at all");
    EXPECT_EQ(ini.value("settings", "KeepCollectionArchive"), "1");
    EXPECT_EQ(ini.value("settings", "CheckForNewRfcs"), "2");
    EXPECT_EQ(settings.CheckForNewRfcs, NewRfcCheck::Weekly);
    EXPECT_EQ(ini.value("settings", "FetchMissingRfcOnLink"), "1");
    EXPECT_FALSE(settings.ShowIndexBar);
    EXPECT_EQ(ini.value("View", "IndexBar"), "0");
}

TEST_F(OptionsPagesTest, TheLocalPathIsStoredAndShownNormalised)
{
    dialog->rfcPage()->localPathField()->setText("D:\\RFCs\\");
    applyPage(*dialog, OptionsDialog::kRfcPage);
    EXPECT_EQ(dialog->rfcPage()->localPathField()->text(), "D:/RFCs");
    EXPECT_EQ(settings.RfcRootPath, "D:/RFCs");
    EXPECT_TRUE(ini.text().contains("RfcRootPath=D:/RFCs\n"));
}

// Asked "Empty Local Path": Cancel keeps the page as it was stored, OK
// stores the empty path with the rest of the page.
TEST_F(OptionsPagesTest, AnEmptyLocalPathIsStoredOnlyWhenConfirmed)
{
    settings.RfcRootPath = "D:/RFCs";
    const QString written = ini.text();
    dialog->rfcPage()->localPathField()->setText("///");
    dialog->rfcPage()->indexUrlField()->setText("ftp://changed/rfc-index.txt");
    dialog->rfcPage()->errataUrlField()->setText("http://mirror.example.org/errata.json");
    scripted.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    applyPage(*dialog, OptionsDialog::kRfcPage);
    EXPECT_EQ(scripted.messages, QStringList({"Empty Local Path"}));
    EXPECT_EQ(settings.RfcRootPath, "D:/RFCs");
    EXPECT_NE(settings.RfcIndexDownloadUrl, "ftp://changed/rfc-index.txt");
    EXPECT_EQ(ini.text(), written);
    applyPage(*dialog, OptionsDialog::kRfcPage);
    EXPECT_EQ(scripted.messages.size(), 2);
    EXPECT_EQ(settings.RfcRootPath, "");
    EXPECT_EQ(ini.value("settings", "RfcRootPath"), "");
    EXPECT_EQ(settings.RfcIndexDownloadUrl, "ftp://changed/rfc-index.txt");
    EXPECT_EQ(ini.value("settings", "ErrataDownloadUrl"), "http://mirror.example.org/errata.json");
}

// A cancelled browser changes nothing; a chosen folder is shown and
// remembered, and only Apply stores it.
TEST_F(OptionsPagesTest, TheFolderBrowserRemembersTheLastFolderAndOnlyApplyStoresIt)
{
    const std::string stored = settings.RfcRootPath;
    lastBrowsedFolder = "/srv";
    scripted.paths = {"", "/srv/rfc"};
    const QString shownPath = dialog->rfcPage()->localPathField()->text();
    dialog->rfcPage()->browseButton()->click();
    EXPECT_EQ(lastBrowsedFolder, "/srv");
    EXPECT_EQ(dialog->rfcPage()->localPathField()->text(), shownPath);
    dialog->rfcPage()->browseButton()->click();
    EXPECT_EQ(lastBrowsedFolder, "/srv/rfc");
    EXPECT_EQ(dialog->rfcPage()->localPathField()->text(), "/srv/rfc");
    EXPECT_EQ(scripted.pathCaptions.first(), "Choose the folder of local RFCs");
    EXPECT_EQ(settings.RfcRootPath, stored);
}

TEST_F(OptionsPagesTest, APageOpenedWithAMasterSwitchOnStartsWithItsDependentsLocked)
{
    settings.DisableContentEntryLink = true;
    OptionsDialog again(settings, ini.profile, lastBrowsedFolder);
    EXPECT_FALSE(again.regularPage()->box("DisableInvalidContentEntryLink")->isEnabled());
}

// ---- The Format page and the font chooser ----

// The chooser started from the stored format; the page shows the choice.
TEST_F(OptionsFormatTest, TheFontChooserStartsFromTheStoredFormatAndThePageShowsTheChoice)
{
    scripted.fontChoices = {FontChoice{"DejaVu Sans Mono", 700, true, false, false, 12, QColor(255, 0, 0)}};
    chooseFont(dialog, kFormatSubtitles);
    ASSERT_EQ(scripted.fontsOffered.size(), 1);
    EXPECT_EQ(scripted.fontsOffered[0].face, "Fixedsys");
    EXPECT_EQ(scripted.fontsOffered[0].colour, QColor(0, 0, 255));
    EXPECT_EQ(QStringList({page->fontField()->text(), page->styleField()->text(), page->sizeField()->text(),
                           page->colorField()->text()}),
              QStringList({"DejaVu Sans Mono", "bold, italic", "12", "255:0:0"}));
}

// A colour is one dialog away from the Format page, not behind the font
// chooser; the face and style stay as stored.
TEST_F(OptionsFormatTest, AColourIsChosenFromTheFormatPageWithNoFontChooserBetween)
{
    scripted.colourChoices = {QColor(10, 20, 30)};
    dialog.tabs()->setCurrentIndex(OptionsDialog::kFormatPage);
    page->categoryBox()->setCurrentIndex(kFormatHeadersFooters);
    page->colourButton()->click();
    EXPECT_TRUE(scripted.fontsOffered.isEmpty());
    EXPECT_EQ(scripted.coloursOffered, QList<QColor>{QColor(0, 128, 0)});
    EXPECT_EQ(page->colorField()->text(), "10:20:30");
    const std::optional<TextFormat> stored = settings.categoryFormat(kFormatHeadersFooters);
    ASSERT_TRUE(stored);
    EXPECT_EQ(formatToText(*stored).font, "Fixedsys");
}

TEST_F(OptionsFormatTest, ACancelledColourChangesNothing)
{
    page->categoryBox()->setCurrentIndex(kFormatHeadersFooters);
    page->colourButton()->click();
    EXPECT_EQ(scripted.coloursOffered.size(), 1);
    EXPECT_EQ(page->colorField()->text(), "0:128:0");
}

// Another category shows its own format; a cancelled chooser changes
// nothing; Cancel writes nothing but the chosen format is kept.
TEST_F(OptionsFormatTest, AChosenFormatIsKeptButNotWrittenOnCancel)
{
    scripted.fontChoices = {FontChoice{"DejaVu Sans Mono", 700, true, false, false, 12, QColor(255, 0, 0)}};
    chooseFont(dialog, kFormatSubtitles);
    chooseFont(dialog, kFormatHeadersFooters);
    EXPECT_EQ(page->colorField()->text(), "0:128:0");
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(ini.text().isEmpty());
    const std::optional<TextFormat> stored = settings.categoryFormat(kFormatSubtitles);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->effects, kEffectBold | kEffectItalic);
    EXPECT_EQ(stored->colour, 0xFFu);
}

// Applied, the formats are written with the index bar switch and the
// requirement keywords made plain (Default is the plain look itself). Only
// a weight of 700 is bold.
TEST_F(OptionsFormatTest, ApplyWritesTheFormatsTheIndexBarSwitchAndPlainKeywords)
{
    scripted.fontChoices = {FontChoice{"Mono", 600, false, true, true, 9, Qt::black}};
    chooseFont(dialog, kFormatTitle);
    page->categoryBox()->setCurrentIndex(kFormatDefault);
    EXPECT_FALSE(page->plainButton()->isEnabled());
    page->categoryBox()->setCurrentIndex(kFormatRequirementKeywords);
    ASSERT_TRUE(page->plainButton()->isEnabled());
    page->plainButton()->click();
    ASSERT_TRUE(page->indexBarBox()->isChecked());
    page->indexBarBox()->setChecked(false);
    dialog.applyButton()->click();
    EXPECT_EQ(ini.value("RFC Title", "style"), "strikeout, underline");
    EXPECT_EQ(ini.value("RFC Title", "font"), "Mono");
    EXPECT_EQ(ini.value("Default", "font"), "Fixedsys");
    EXPECT_EQ(ini.value("View", "IndexBar"), "0");
    EXPECT_EQ(settings.Formats[kFormatTitle].height, 180);
    EXPECT_FALSE(settings.ShowIndexBar);
    const FormatTexts keywords = formatToText(settings.Formats[kFormatRequirementKeywords]);
    const FormatTexts plain = formatToText(settings.Formats[kFormatDefault]);
    EXPECT_TRUE(keywords.color == plain.color && keywords.font == plain.font);
}

TEST(FontChooserTest, StartsFromTheGivenChoiceAndReturnsWhatWasSet)
{
    FontChooserDialog chooser(FontChoice{"", 700, true, true, false, 14, QColor(0, 128, 255)});
    EXPECT_EQ(chooser.styleBox()->currentText(), "Bold Italic");
    const FontChoice same = chooser.choice();
    EXPECT_TRUE(same.weight == 700 && same.italic && same.underline && !same.strikeout && same.pointSize == 14
                && same.colour == QColor(0, 128, 255));
    chooser.styleBox()->setCurrentText("Italic");
    chooser.sizeBox()->setValue(9);
    chooser.underlineBox()->setChecked(false);
    chooser.strikeoutBox()->setChecked(true);
    chooser.setColour(Qt::red);
    const FontChoice chosen = chooser.choice();
    EXPECT_TRUE(chosen.weight == 400 && chosen.italic && !chosen.underline && chosen.strikeout
                && chosen.pointSize == 9 && chosen.colour == QColor(Qt::red));
    EXPECT_EQ(chosen.face, chooser.faceBox()->currentFont().family());
}

// The switches and fields read as sentences; the folder button says what
// it does.
TEST_F(OptionsPagesTest, LabelsReadAsSentences)
{
    EXPECT_EQ(page->box("OpenRfcIndexWhenStarted")->text(), "Open the RFC index at start-up");
    EXPECT_EQ(page->box("BuildStructureFromText")->text(),
              "Build the Structure view from the text when there is no table of contents");
    EXPECT_EQ(dialog->rfcPage()->browseButton()->text(), "Browse...");
}

// The font field names the face the text is shown in, not a face this
// system lacks.
TEST_F(OptionsFormatTest, TheFontFieldNamesTheFaceInUse)
{
    dialog.tabs()->setCurrentIndex(OptionsDialog::kFormatPage);
    const QString shown = page->fontField()->text();
    EXPECT_EQ(shown, QFontInfo(toCharFormat(settings.Formats[kFormatDefault]).font()).family());
}

} // namespace
} // namespace parchly
