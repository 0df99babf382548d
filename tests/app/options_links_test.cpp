// The Format page's switches of links across RFCs: the index bar, and the
// requirement keywords made plain.
#include "app/options_dialog.h"
#include "app/options_format_page.h"
#include "collections/ini_file.h"
#include "settings/settings.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(OptionsLinks, TheIndexBarAndPlainKeywordsAreStored)
{
    test::IniFile ini;
    test::ScriptedDialogs scripted;
    RfcSettings settings;
    std::string lastBrowsedFolder;
    OptionsDialog dialog(settings, ini.profile, lastBrowsedFolder);
    dialog.tabs()->setCurrentIndex(OptionsDialog::kFormatPage);
    OptionsFormatPage* page = dialog.formatPage();
    EXPECT_FALSE(page->plainButton()->isEnabled()) << "Default is the plain look itself";
    page->categoryBox()->setCurrentIndex(kFormatRequirementKeywords);
    ASSERT_TRUE(page->plainButton()->isEnabled());
    page->plainButton()->click();
    ASSERT_TRUE(page->indexBarBox()->isChecked());
    page->indexBarBox()->setChecked(false);
    dialog.applyButton()->click();

    EXPECT_EQ(ini.value("View", "IndexBar"), "0");
    RfcSettings loaded;
    loaded.loadSettings(ini.profile);
    EXPECT_FALSE(loaded.ShowIndexBar);
    const FormatTexts keywords = formatToText(loaded.Formats[kFormatRequirementKeywords]);
    const FormatTexts plain = formatToText(loaded.Formats[kFormatDefault]);
    EXPECT_EQ(keywords.color, plain.color);
    EXPECT_EQ(keywords.font, plain.font);
}

} // namespace
} // namespace parchly
