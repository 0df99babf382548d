#include "app/parchly_application.h"
#include "settings/rfc_paths.h"

#include "analysis/rfc_text.h"
#include "app/dark_formats.h"
#include "app/options_dialog.h"
#include "app/options_regular_page.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/main_window.h"
#include "settings/command_ids.h"
#include "view/rfc_document.h"
#include "settings/profile.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QPalette>
#include <QPushButton>
#include <set>

namespace parchly {
namespace {

class ParchlyAppTest : public test::AppFixture {
protected:
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(pathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(ParchlyAppTest, StartsFromTheSettingsFileOfTheCurrentFolder)
{
    {
        ParchlyApplication started;
        const std::string folderPath = QDir::current().absolutePath().toStdString();
        EXPECT_EQ(started.iniPath(), folderPath + "/Parchly.ini");
        EXPECT_EQ(started.settings().RfcRootPath, folderPath + "/RFCPath");
        ASSERT_TRUE(started.start());
        EXPECT_TRUE(started.mainWindow()->isVisible());
        EXPECT_EQ(started.mainWindow()->windowTitle(), QStringLiteral("Parchly Standard"));
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
    writeFile(QStringLiteral("Parchly.ini"), "[settings]\nShowPageSeparator=1\nRfcRootPath=/somewhere/rfcs/\n");
    ParchlyApplication started;
    EXPECT_TRUE(started.settings().ShowPageSeparator);
    EXPECT_EQ(started.settings().RfcRootPath, "/somewhere/rfcs");
}

TEST_F(ParchlyAppTest, OpensByPathOrNumberAndReportsWhatCannotBeOpened)
{
    makeApp();
    QDir().mkpath(pathOf("folder.txt"));
    EXPECT_EQ(app->openDocumentFile(pathOf("rfc404.txt")), nullptr);
    EXPECT_EQ(app->openDocumentFile(pathOf("folder.txt")), nullptr);
    EXPECT_EQ(app->openRfcNumber(0), nullptr);
    const QString cannot = QStringLiteral("Cannot open file: %1.");
    EXPECT_EQ(dialogs.messages, QStringList({cannot.arg(pathOf("rfc404.txt")), cannot.arg(pathOf("folder.txt")),
                                             cannot.arg(pathOf("rfc0.txt"))}));
    EXPECT_TRUE(app->mainWindow()->documentWindows().empty());

    copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc9901.txt"));
    EXPECT_NE(app->openRfcNumber(9901), nullptr);
    EXPECT_EQ(rfcPath("/r", -5), "/r/rfc-5.txt");
    EXPECT_EQ(rfcPath(std::string(2000, 'a'), 1).size(), 1023u);
}

TEST_F(ParchlyAppTest, AsksBeforeOpeningANameNotEndingInTxt)
{
    makeApp();
    const QString upper = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("RFC9901.TXT"));
    EXPECT_NE(app->openDocumentFile(upper), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const QString backup = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc9901.txt.bak"));
    const QString question = QStringLiteral("It seems that %1 is not in txt format, continue?").arg(backup);
    dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    EXPECT_EQ(app->openDocumentFile(backup), nullptr);
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    EXPECT_NE(app->openDocumentFile(backup), nullptr);
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 2u);
    EXPECT_EQ(dialogs.messages, QStringList({question, question}));

    // A name of only four characters, ".txt", is asked about too.
    copyFixture(QStringLiteral("notes.text"), QStringLiteral(".txt"));
    dialogs.messages.clear();
    EXPECT_EQ(app->openDocumentFile(QStringLiteral(".txt")), nullptr);
    EXPECT_EQ(dialogs.messages,
              QStringList({QStringLiteral("It seems that .txt is not in txt format, continue?")}));
}

TEST_F(ParchlyAppTest, KeepsTheFourLatestFilesInTheSettingsFile)
{
    makeApp();
    for (int i = 1; i <= 5; ++i)
        ASSERT_NE(app->openDocumentFile(copyFixture(QStringLiteral("rfc9901.txt"),
                                                    QStringLiteral("rfc%1.txt").arg(i))),
                  nullptr);
    // Opening the second again moves it to the front.
    ASSERT_NE(app->openDocumentFile(pathOf("rfc2.txt")), nullptr);
    const std::vector<std::string> expected = {pathOf("rfc2.txt").toStdString(), pathOf("rfc5.txt").toStdString(),
                                               pathOf("rfc4.txt").toStdString(), pathOf("rfc3.txt").toStdString()};
    EXPECT_EQ(app->recentFiles().paths(), expected);
    EXPECT_EQ(app->profile().readString("Recent File List", "File1", ""), expected[0]);

    makeApp();
    EXPECT_EQ(app->recentFiles().paths(), expected);
}

TEST_F(ParchlyAppTest, StartsWithTheIndexWhenAskedAndReportsItMissing)
{
    writeFile(QStringLiteral("Parchly.ini"), "[settings]\nOpenRfcIndexWhenStarted=1\n");
    makeApp(false);
    ASSERT_TRUE(app->start());
    EXPECT_TRUE(app->mainWindow()->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].endsWith(QStringLiteral("/rfc-index.txt does NOT exist!")));
}

TEST_F(ParchlyAppTest, ShowsTheTipOfTheDayOverTheShownMainWindowUnlessTurnedOff)
{
    writeFile(QStringLiteral("tips.txt"), "Parchly opens RFCs.\n");
    bool overShownMainWindow = false;
    dialogs.dialogScripts.push_back([&](QDialog& tip) {
        overShownMainWindow = app->mainWindow() && tip.parentWidget() == app->mainWindow() &&
                              app->mainWindow()->isVisible();
        return int(QDialog::Rejected);
    });
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"}));
    EXPECT_TRUE(overShownMainWindow);
    app.reset();

    Profile(pathOf("Parchly.ini").toStdString()).writeInt("Tip", "StartUp", 1);
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"})) << "no second tip";
}

TEST_F(ParchlyAppTest, ADarkPaletteGivesDistinctDarkDefaultsAndKeepsChosenColours)
{
    // The user chose the colour of "Table of Contents"; the rest are built in.
    writeFile(QStringLiteral("Parchly.ini"), "[Table of Contents]\ncolor=1:2:3\n");
    const QPalette light = QGuiApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    makeApp(false);
    QApplication::setPalette(light);
    std::set<uint32_t> colours;
    for (int category = 0; category < kFormatCategoryCount; ++category) {
        const uint32_t colour = app->settings().Formats[category].colour;
        colours.insert(colour);
        EXPECT_EQ(colour, category == kFormatContents ? 0x030201u : darkDefaultColour(category)) << category;
    }
    EXPECT_EQ(colours.size(), size_t(kFormatCategoryCount)) << "every format stays distinct";

    ASSERT_FALSE(paletteIsDark(light));
    makeApp(false);
    EXPECT_EQ(app->settings().Formats[kFormatDefault].colour, defaultFormat(kFormatDefault).colour);
}

TEST_F(ParchlyAppTest, OptionsApplyAtOnceToTheOpenWindowsKeepingTheirPlace)
{
    makeApp();
    for (const char* name : {"rfc1.txt", "rfc2.txt"})
        ASSERT_NE(app->openDocumentFile(copyFixture(QStringLiteral("rfc9901.txt"), QString::fromLatin1(name))), nullptr);
    MainWindow& frame = *app->mainWindow();
    frame.documentWindows()[0]->setReadingPosition({30, 33, 2});
    frame.activateDocumentWindow(frame.documentWindows()[0]);
    const ReadingPosition before = frame.documentWindows()[0]->readingPosition();
    ASSERT_FALSE(frame.documentWindows()[0]->document()->text().showPageSeparators);

    dialogs.dialogScripts.push_back([](QDialog& dialog) {
        auto& options = static_cast<OptionsDialog&>(dialog);
        options.regularPage()->box("ShowPageSeparator")->setChecked(true);
        options.okButton()->click();
        return dialog.result();
    });
    app->runCommand(kCmdOptions);
    ASSERT_TRUE(app->settings().ShowPageSeparator);
    ASSERT_EQ(frame.documentWindows().size(), 2u);
    for (DocumentWindow* child : frame.documentWindows())
        EXPECT_TRUE(child->document()->text().showPageSeparators) << child->windowTitle().toStdString();
    DocumentWindow* active = frame.activeDocumentWindow();
    EXPECT_EQ(active->windowTitle(), QStringLiteral("rfc1.txt"));
    EXPECT_EQ(active->readingPosition().caretLine, before.caretLine);
    EXPECT_EQ(active->readingPosition().topLine, before.topLine);
}

} // namespace
} // namespace parchly
