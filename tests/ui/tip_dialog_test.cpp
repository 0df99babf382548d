// The tip of the day: which line is shown, and what the "Tip" section keeps.
#include "collections/ini_file.h"
#include "support/scripted_dialogs.h"
#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>
#include <utime.h>

namespace parchly {

namespace {

const char* const kTips = "; Tips for the test\n"
                          "First tip\n"
                          "\n"
                          "  an indented line\n"
                          "Second tip\n"
                          "\ta tabbed line\n"
                          ";Third commented out\n"
                          "Third tip\n";

class TipDialogTest : public ::testing::Test {
protected:
    std::string tipsPath() const { return ini.directory() + "tips.txt"; }

    // Writes the tips file with a modification time of its own.
    void writeTips(const std::string& text, time_t modified = 1700000000)
    {
        std::ofstream(tipsPath(), std::ios::binary) << text;
        const utimbuf times{modified, modified};
        ASSERT_EQ(utime(tipsPath().c_str(), &times), 0);
    }

    QString shownTip()
    {
        TipDialog dialog(ini.directory(), ini.profile);
        return dialog.tipText();
    }

    test::IniFile ini;
    test::ScriptedDialogs scripted;
};

} // namespace

// Comments and blank lines are skipped, either line end is read, a line
// longer than 999 characters is read in pieces (each a tip), and Next wraps.
TEST_F(TipDialogTest, ShowsTipsInOrderAndWrapsToTheFirst)
{
    const std::pair<std::string, QStringList> cases[] = {
        {kTips, {"First tip", "Second tip", "Third tip", "First tip", "Second tip"}},
        {"; crlf file\r\n\r\nOne tip\r\n" + std::string(1500, 'x') + "\r\n",
         {"One tip", QString(999, 'x'), QString(501, 'x'), "One tip"}},
    };
    for (const auto& [tips, expected] : cases) {
        writeTips(tips, 1700000000 + static_cast<time_t>(tips.size()));
        TipDialog dialog(ini.directory(), ini.profile);
        QStringList shown{dialog.tipText()};
        while (shown.size() < expected.size()) {
            dialog.nextButton()->click();
            shown << dialog.tipText();
        }
        EXPECT_EQ(shown, expected);
    }
    EXPECT_TRUE(scripted.messages.isEmpty());
}

// FilePos (a byte offset) and TimeStamp carry the reading from one run to
// the next. Each step writes the tips file anew (with its own time) or sets
// FilePos by hand, then runs the dialog once.
TEST_F(TipDialogTest, TheStoredPositionCarriesTheReadingAcrossRuns)
{
    const struct {
        const char* tips;
        time_t modified;
        const char* filePos;
        const char* shown;
    } steps[] = {
        {kTips, 1700000000, nullptr, "First tip"},
        {nullptr, 0, nullptr, "Second tip"},
        {nullptr, 0, nullptr, "Third tip"},
        {nullptr, 0, nullptr, "First tip"},
        // A replaced file starts again at its first tip.
        {"New one\nNew two\n", 1700003600, nullptr, "New one"},
        {nullptr, 0, nullptr, "New two"},
        // Beyond the end of an unchanged file: read on from the end, wrap.
        {nullptr, 0, "100000", "New one"},
        // Before its start: the seek fails and is reported; the next run
        // starts from the top again.
        {nullptr, 0, "-7", ""},
        {nullptr, 0, nullptr, "New one"},
    };
    std::string stamp;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        if (step.tips)
            writeTips(step.tips, step.modified);
        if (step.filePos)
            ini.profile.writeString("Tip", "FilePos", step.filePos);
        EXPECT_EQ(shownTip(), step.shown);
        if (step.tips) {
            EXPECT_NE(ini.value("Tip", "TimeStamp"), stamp);
            stamp = ini.value("Tip", "TimeStamp");
        }
        if (&step == &steps[0]) {
            EXPECT_EQ(ini.value("Tip", "FilePos"),
                      std::to_string(std::string("; Tips for the test\nFirst tip\n").size()));
        }
    }
    EXPECT_EQ(scripted.messages, QStringList({"Trouble reading the tips file"}));
}

TEST_F(TipDialogTest, NoTipToShow)
{
    ini.profile.writeInt("Tip", "FilePos", 42);
    ini.profile.writeString("Tip", "TimeStamp", "Mon Jan  1 00:00:00 2024");
    {
        TipDialog dialog(ini.directory(), ini.profile);
        EXPECT_EQ(dialog.tipText(),
                  QStringLiteral("The tips file tips.txt does not exist in %1")
                      .arg(QDir::toNativeSeparators(QString::fromStdString(ini.directory()))));
        EXPECT_FALSE(dialog.nextButton()->isEnabled());
    }
    EXPECT_EQ(ini.value("Tip", "FilePos"), "42");
    EXPECT_EQ(ini.value("Tip", "TimeStamp"), "Mon Jan  1 00:00:00 2024");

    // A file without a tip line ends the reading instead of going round.
    for (const char* text : {"", "; only comments\n\n   \n"}) {
        writeTips(text);
        EXPECT_EQ(shownTip(), "The tips file holds no tip.");
    }
}

TEST_F(TipDialogTest, OnlyCloseStoresTheStartUpChoice)
{
    writeTips(kTips);
    {
        TipDialog dialog(ini.directory(), ini.profile);
        EXPECT_TRUE(dialog.showAtStartUp());
        EXPECT_TRUE(dialog.startUpBox()->isChecked());
        dialog.startUpBox()->setChecked(false);
        dialog.reject();
    }
    EXPECT_EQ(ini.value("Tip", "StartUp"), "<missing>");
    {
        TipDialog dialog(ini.directory(), ini.profile);
        dialog.startUpBox()->setChecked(false);
        dialog.closeButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ini.value("Tip", "StartUp"), "1");

    // Not shown at start-up (StartUp is 1 now), the check still reads a tip
    // and moves on.
    const std::string before = ini.value("Tip", "FilePos");
    showStartUpTip(ini.directory(), ini.profile, nullptr);
    EXPECT_NE(ini.value("Tip", "FilePos"), before);
    EXPECT_TRUE(scripted.dialogTitles.isEmpty());
    ini.profile.writeInt("Tip", "StartUp", 0);
    showStartUpTip(ini.directory(), ini.profile, nullptr);
    EXPECT_EQ(scripted.dialogTitles, QStringList({"Tip of the Day"}));
}

} // namespace parchly
