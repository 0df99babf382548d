// The tip of the day: which line is shown, and what the "Tip" section keeps.
#include "support/ini_file.h"
#include "support/scripted_dialogs.h"
#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <cstdio>
#include <gtest/gtest.h>
#include <utime.h>
#include <vector>

namespace parchly {

namespace {

// Comments, a blank line, indented lines and tips.
const char* const kTips =
    "; Tips for the test\nFirst tip\n\n  an indented line\nSecond tip\n\ta tabbed line\n"
    ";Third commented out\nThird tip\n";

class TipDialogTest : public ::testing::Test {
protected:
    // Writes the tips file with a modification time of its own; null removes it.
    void writeTips(const char* text, time_t modified = 1700000000)
    {
        const std::string path = ini.directory() + "tips.txt";
        std::remove(path.c_str());
        if (!text)
            return;
        std::ofstream(path, std::ios::binary) << text;
        const utimbuf times{modified, modified};
        ASSERT_EQ(utime(path.c_str(), &times), 0);
    }

    // What one run of the dialog shows: its first tip and up to four more by
    // Next, while Next is enabled.
    QStringList shownTips(int more = 0)
    {
        TipDialog dialog(ini.directory(), ini.profile);
        QStringList shown{dialog.tipText()};
        for (; more > 0 && dialog.nextButton()->isEnabled(); --more) {
            dialog.nextButton()->click();
            shown << dialog.tipText();
        }
        return shown;
    }

    // One run of the dialog after writing `tips` (when given) with its own
    // time or setting FilePos (when given); each step's first tip shown.
    struct Run {
        const char* tips;
        time_t modified;
        const char* filePos;
        const char* shown;
    };
    void expectRuns(const std::vector<Run>& runs)
    {
        for (const Run& run : runs) {
            SCOPED_TRACE(run.shown);
            if (run.tips)
                writeTips(run.tips, run.modified);
            if (run.filePos)
                ini.profile.writeString("Tip", "FilePos", run.filePos);
            EXPECT_EQ(shownTips(), QStringList({run.shown}));
        }
    }

    test::IniFile ini;
    test::ScriptedDialogs scripted;
};

// ---- What is carried from run to run ----

// FilePos (a byte offset) and TimeStamp carry the reading from one run to
// the next.
TEST_F(TipDialogTest, EachRunShowsTheNextTipAndWrapsAtTheEnd)
{
    expectRuns({{kTips, 1700000000, nullptr, "First tip"}});
    EXPECT_EQ(ini.value("Tip", "FilePos"),
              std::to_string(std::string("; Tips for the test\nFirst tip\n").size()));
    EXPECT_NE(ini.value("Tip", "TimeStamp"), "<missing>");
    expectRuns({{nullptr, 0, nullptr, "Second tip"},
                {nullptr, 0, nullptr, "Third tip"},
                {nullptr, 0, nullptr, "First tip"}});
    EXPECT_TRUE(scripted.messages.isEmpty());
}

TEST_F(TipDialogTest, AReplacedFileStartsAgainAtItsFirstTip)
{
    expectRuns({{kTips, 1700000000, nullptr, "First tip"}, {nullptr, 0, nullptr, "Second tip"}});
    const std::string stamp = ini.value("Tip", "TimeStamp");
    expectRuns({{"New one\nNew two\n", 1700003600, nullptr, "New one"}, {nullptr, 0, nullptr, "New two"}});
    EXPECT_NE(ini.value("Tip", "TimeStamp"), stamp);
}

// Beyond the end of an unchanged file: read on from the end, wrap.
TEST_F(TipDialogTest, APositionBeyondTheEndWrapsToTheFirstTip)
{
    expectRuns({{kTips, 1700000000, nullptr, "First tip"}, {nullptr, 0, "100000", "First tip"}});
    EXPECT_TRUE(scripted.messages.isEmpty());
}

// Before its start: the seek fails and is reported; the next run starts
// from the top again.
TEST_F(TipDialogTest, APositionBeforeTheStartIsReportedAndTheNextRunStartsAtTheTop)
{
    expectRuns({{kTips, 1700000000, nullptr, "First tip"},
                {nullptr, 0, "-7", ""},
                {nullptr, 0, nullptr, "First tip"}});
    EXPECT_EQ(scripted.messages, QStringList({"Trouble reading the tips file"}));
}

TEST_F(TipDialogTest, WithoutTheFileTheStoredReadingIsLeftForItsReturn)
{
    expectRuns({{kTips, 1700000000, nullptr, "First tip"}});
    const std::string position = ini.value("Tip", "FilePos");
    const std::string stamp = ini.value("Tip", "TimeStamp");
    writeTips(nullptr);
    shownTips();
    EXPECT_EQ(ini.value("Tip", "FilePos"), position);
    EXPECT_EQ(ini.value("Tip", "TimeStamp"), stamp);
}

// ---- Reading the file ----

// Comments and blank lines are skipped, either line end is read, a line
// longer than 999 characters is read in pieces (each a tip), and Next wraps.
// A file without a tip line ends the reading instead of going round; a
// missing one is named with the folder where it is looked for.
TEST_F(TipDialogTest, EachFileShowsItsTipsAndNextWraps)
{
    const std::string crlf = "; crlf file\r\n\r\nOne tip\r\n" + std::string(1500, 'x') + "\r\n";
    const QString missing = QStringLiteral("The tips file tips.txt does not exist in %1")
                                .arg(QDir::toNativeSeparators(QString::fromStdString(ini.directory())));
    const struct {
        const char* tips;
        QStringList shown;
    } cases[] = {
        {kTips, {"First tip", "Second tip", "Third tip", "First tip", "Second tip"}},
        {crlf.c_str(), {"One tip", QString(999, 'x'), QString(501, 'x'), "One tip", QString(999, 'x')}},
        {"", {"The tips file holds no tip."}},
        {"; only comments\n\n   \n", {"The tips file holds no tip."}},
        {nullptr, {missing}},
    };
    time_t modified = 1700000000;
    for (const auto& c : cases) {
        writeTips(c.tips, ++modified);
        EXPECT_EQ(shownTips(4), c.shown) << (c.tips ? c.tips : "no file");
    }
    EXPECT_TRUE(scripted.messages.isEmpty());
}

// ---- The start-up choice ----

TEST_F(TipDialogTest, OnlyCloseStoresTheStartUpChoice)
{
    writeTips(kTips);
    for (bool close : {false, true}) {
        {
            TipDialog dialog(ini.directory(), ini.profile);
            EXPECT_TRUE(dialog.showAtStartUp() && dialog.startUpBox()->isChecked());
            dialog.startUpBox()->setChecked(false);
            close ? dialog.closeButton()->click() : dialog.reject();
        }
        EXPECT_EQ(ini.value("Tip", "StartUp"), close ? "1" : "<missing>");
    }
}

// Not shown at start-up, the check still reads a tip and moves on.
TEST_F(TipDialogTest, NotShownAtStartUpTheCheckStillMovesToTheNextTip)
{
    writeTips(kTips);
    ini.profile.writeString("Tip", "StartUp", "1");
    const std::string before = ini.value("Tip", "FilePos");
    showStartUpTip(ini.directory(), ini.profile, nullptr);
    EXPECT_NE(ini.value("Tip", "FilePos"), before);
    EXPECT_TRUE(scripted.dialogTitles.isEmpty());
}

TEST_F(TipDialogTest, TheStartUpBoxSaysWhatItDoes)
{
    writeTips(kTips);
    TipDialog dialog(ini.directory(), ini.profile);
    EXPECT_EQ(dialog.startUpBox()->text(), "&Show tips at start-up");
}

} // namespace
} // namespace parchly
