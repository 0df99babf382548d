// The application object: where its files are, how it starts, what it opens
// from the command line and from a second start.
#include "app/parchly_application.h"

#include "app/command_line.h"
#include "app/dark_formats.h"
#include "app/options_dialog.h"
#include "app/options_regular_page.h"
#include "app/startup_options.h"
#include "analysis/rfc_text.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/welcome_panel.h"
#include "view/command_ids.h"
#include "settings/rfc_paths.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QCheckBox>
#include <QPalette>
#include <QProcess>
#include <QPushButton>

namespace parchly {
namespace {

using ParchlyAppTest = test::AppFixture;

QStringList texts(const std::vector<std::string>& items)
{
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

// ---- Where its files are ----

TEST_F(ParchlyAppTest, TheSettingsFileIsThePortableOneOrMadeInTheConfigFolder)
{
    test::writeFile(pathOf("blocked").toStdString(), "a file where a folder should be");
    QDir().mkpath(pathOf("portable"));
    QFile(pathOf("portable/Parchly.ini")).open(QIODevice::WriteOnly);
    for (const test::FixtureCase& c : test::readFixtureCases("app/settings-file-choices.txt")) {
        SCOPED_TRACE(c.title);
        const QString chosen = pathOf(QString::fromStdString(c["chosen"]));
        const SettingsFileChoice choice = chooseSettingsFile(pathOf(QString::fromStdString(c["current"])),
                                                             pathOf(QString::fromStdString(c["config"])));
        EXPECT_EQ(choice.path, chosen);
        EXPECT_EQ(choice.problem.contains(chosen), c.number("problem") == 1);
        EXPECT_EQ(QFileInfo(choice.path).isFile(), c.number("problem") == 0);
    }
}

TEST_F(ParchlyAppTest, TheManualAndTheTipsAreFoundInTheFirstFolderHoldingThem)
{
    for (const char* folder : {"empty", "tips", "share/manual"})
        QDir().mkpath(pathOf(folder));
    test::writeFile(pathOf("tips/tips.txt").toStdString(), "A tip.\n");
    test::writeFile(pathOf("share/manual/index.html").toStdString(), "<html></html>");
    const struct {
        QStringList candidates;
        QString found;
    } folders[] = {
        {{pathOf("empty"), pathOf("tips"), pathOf("share")}, pathOf("tips/")},
        {{pathOf("empty"), pathOf("share/../share")}, pathOf("share/")},
        {{pathOf("empty")}, pathOf("empty/")},
    };
    for (const auto& c : folders)
        EXPECT_EQ(firstResourceFolder(c.candidates), c.found) << c.candidates.join(' ').toStdString();
}

// Started from the build tree the program finds its tips and its manual
// beside it.
TEST_F(ParchlyAppTest, TheBuiltProgramFindsItsTipsAndManualBesideIt)
{
    QDir().mkpath(pathOf("empty"));
    const QString programFolder = QFileInfo(QStringLiteral(PARCHLY_BINARY)).absolutePath();
    const QString found = firstResourceFolder({pathOf("empty"), programFolder});
    EXPECT_EQ(found, programFolder + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(found + QStringLiteral("tips.txt")).isFile());
    EXPECT_TRUE(QFileInfo(found + QStringLiteral("manual/index.html")).isFile());
}

// The program runs on with defaults when its settings cannot be kept, and
// makes the RFC folder.
TEST_F(ParchlyAppTest, WithoutASettingsFileThatCanBeKeptItRunsOnAndMakesTheRfcFolder)
{
    test::writeFile(pathOf("blocked").toStdString(), "a file where a folder should be");
    QFile::remove(pathOf("Parchly.ini"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(pathOf("blocked")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(pathOf("data")));
    QCoreApplication::setApplicationName(QStringLiteral("Parchly"));
    ParchlyApplication started;
    EXPECT_EQ(started.settings().RfcRootPath, pathOf("data/Parchly/rfc").toStdString());
    EXPECT_TRUE(started.start());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("Cannot create the settings file ")));
    EXPECT_TRUE(QFileInfo(pathOf("data/Parchly/rfc")).isDir());
}

// ---- The start and the welcome ----

// The start shows the tip of the day over the shown main window and reports
// the index asked for at start missing (the StartUp switch is checked in
// tip_dialog_test.cpp).
TEST_F(ParchlyAppTest, TheTipShowsOverTheShownWindowAndAMissingIndexIsReported)
{
    test::writeFile(pathOf("tips.txt").toStdString(), "Parchly opens RFCs.\n");
    test::writeFile(pathOf("Parchly.ini").toStdString(), "[settings]\nOpenRfcIndexWhenStarted=1\n");
    bool overShownMainWindow = false;
    dialogs.dialogScripts.push_back([&](QDialog& tip) {
        overShownMainWindow =
            app->mainWindow() && tip.parentWidget() == app->mainWindow() && app->mainWindow()->isVisible();
        return int(QDialog::Rejected);
    });
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"}));
    EXPECT_TRUE(overShownMainWindow);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].endsWith(QStringLiteral("/rfc-index.txt does NOT exist!")));
}

// The documents of the last run are open behind the tip, not after it.
TEST_F(ParchlyAppTest, TheLastRunsDocumentsAreOpenWhenTheTipShows)
{
    makeApp();
    openCopies({"rfc1.txt"});
    app->mainWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    test::writeFile(pathOf("tips.txt").toStdString(), "Parchly opens RFCs.\n");
    dialogs.dialogTitles.clear();
    std::size_t openBehindTheTip = 0;
    dialogs.dialogScripts.push_back([&](QDialog&) {
        openBehindTheTip = app->mainWindow()->documentWindows().size();
        return int(QDialog::Rejected);
    });
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"}));
    EXPECT_EQ(openBehindTheTip, 1u);
}

// The welcome stays until a document is open, with its ways forward.
class WelcomeTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        AppFixture::SetUp();
        welcome = app->mainWindow()->welcomePanel();
        ASSERT_TRUE(welcome->isVisible()) << "no rfc-index.txt in the RFC folder";
    }

    WelcomePanel* welcome = nullptr;
};

// Download runs the index's download command, Update the collection runs
// Update RFC Collection (each stops at its missing address instead of going
// to the network).
TEST_F(WelcomeTest, DownloadAndUpdateRunTheirCommands)
{
    app->settings().RfcIndexDownloadUrl.clear();
    app->settings().RfcDownloadUrl.clear();
    welcome->downloadIndexButton()->click();
    welcome->updateCollectionButton()->click();
    EXPECT_EQ(
        dialogs.messages,
        QStringList({"Please input the url of rfc-index.txt", "Please input the url of rfc documents"}));
}

// Choose a folder: a cancelled chooser changes nothing; a chosen folder is
// kept in the settings file, and one with an index ends the welcome and
// opens the index.
TEST_F(WelcomeTest, AChosenFolderIsKeptAndOneWithAnIndexEndsTheWelcomeAndOpensIt)
{
    QDir().mkpath(pathOf("rfcs"));
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfcs/rfc-index.txt"));
    const std::string before = app->settings().RfcRootPath;
    dialogs.paths = {QString(), pathOf("rfcs")};
    welcome->chooseFolderButton()->click();
    EXPECT_EQ(app->settings().RfcRootPath, before);
    welcome->chooseFolderButton()->click();
    EXPECT_EQ(app->settings().RfcRootPath, pathOf("rfcs").toStdString());
    EXPECT_EQ(app->profile().readString("settings", "RfcRootPath", ""), pathOf("rfcs").toStdString());
    EXPECT_FALSE(welcome->isVisible());
    ASSERT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    EXPECT_TRUE(app->mainWindow()->documentWindows()[0]->isIndexDocument());
}

// The folder's watcher reads the index again once its writing rests.
TEST_F(WelcomeTest, AfterDownloadTheIndexOpensWhenItArrives)
{
    app->settings().RfcIndexDownloadUrl.clear();
    welcome->downloadIndexButton()->click();
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->reloadIndexStatus();
    ASSERT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    EXPECT_TRUE(app->mainWindow()->documentWindows()[0]->isIndexDocument());
    EXPECT_FALSE(welcome->isVisible());
}

TEST_F(WelcomeTest, AnIndexArrivingUnaskedOpensNothing)
{
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->reloadIndexStatus();
    EXPECT_TRUE(app->mainWindow()->documentWindows().empty());
    EXPECT_FALSE(welcome->isVisible());
}

// Open a file: the welcome goes as soon as the document is open, even while
// the folder has no index.
TEST_F(WelcomeTest, OpenAFileEndsTheWelcomeWithoutAnIndex)
{
    dialogs.paths = {copyRfc(QStringLiteral("rfc9901.txt"))};
    welcome->openFileButton()->click();
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    EXPECT_FALSE(welcome->isVisible());
}

// Options apply at once to the open windows, which keep their place (as a
// session's windows do).
TEST_F(ParchlyAppTest, OptionsApplyAtOnceToTheOpenWindowsWhichKeepTheirPlace)
{
    makeApp();
    openCopies({"rfc9901.txt", "rfc1.txt"});
    MainWindow& frame = *app->mainWindow();
    frame.activateDocumentWindow(frame.documentWindows()[0]);
    ASSERT_FALSE(frame.documentWindows()[0]->document()->viewState().pageSeparators);
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
        EXPECT_TRUE(child->document()->viewState().pageSeparators) << child->windowTitle().toStdString();
    EXPECT_EQ(frame.activeDocumentWindow()->windowTitle(), QStringLiteral("rfc9901.txt"));
}

// ---- Opening ----

TEST_F(ParchlyAppTest, WhatCannotBeOpenedIsReported)
{
    makeApp();
    QDir().mkpath(pathOf("folder.txt"));
    EXPECT_EQ(app->openDocumentFile(pathOf("rfc404.txt")), nullptr);
    EXPECT_EQ(app->openDocumentFile(pathOf("folder.txt")), nullptr);
    EXPECT_EQ(app->openRfcNumber(0), nullptr);
    const QString cannot = QStringLiteral("Cannot open file: %1.");
    EXPECT_EQ(dialogs.messages,
              QStringList({cannot.arg(pathOf("rfc404.txt")), cannot.arg(pathOf("folder.txt")),
                           cannot.arg(pathOf("rfc0.txt"))}));
}

TEST_F(ParchlyAppTest, RfcsOpenByNumberAndByANameOfAnyCase)
{
    makeApp();
    copyRfc(QStringLiteral("rfc9901.txt"));
    EXPECT_NE(app->openRfcNumber(9901), nullptr);
    EXPECT_NE(app->openDocumentFile(copyRfc(QStringLiteral("RFC1.TXT"))), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// A name not ending in ".txt" is asked about first, also a name that is
// only ".txt".
TEST_F(ParchlyAppTest, ANameNotEndingInTxtIsAskedAboutFirst)
{
    makeApp();
    const QString backup = copyRfc(QStringLiteral("rfc9901.txt.bak"));
    const QString question = QStringLiteral("It seems that %1 is not in txt format, continue?");
    dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    EXPECT_EQ(app->openDocumentFile(backup), nullptr);
    EXPECT_TRUE(app->mainWindow()->documentWindows().empty());
    EXPECT_NE(app->openDocumentFile(backup), nullptr);
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 1u);
    copyFixture(QStringLiteral("notes.text"), QStringLiteral(".txt"));
    EXPECT_EQ(app->openDocumentFile(QStringLiteral(".txt")), nullptr);
    EXPECT_EQ(
        dialogs.messages,
        QStringList({question.arg(backup), question.arg(backup), question.arg(QStringLiteral(".txt"))}));
}

// The program's arguments open files, RFCs by number, or the index at a
// missing RFC's entry.
TEST_F(ParchlyAppTest, ArgumentsOpenFilesRfcNumbersOrTheIndexAtAMissingRfc)
{
    makeApp();
    copyRfc(QStringLiteral("rfc9901.txt"));
    copyRfc(QStringLiteral("other.txt"));
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->openArguments({pathOf("other.txt"), QStringLiteral("9901"), QStringLiteral("2")});
    MainWindow& frame = *app->mainWindow();
    ASSERT_EQ(frame.documentWindows().size(), 3u);
    EXPECT_EQ(frame.documentWindows()[0]->windowTitle(), QStringLiteral("other.txt"));
    EXPECT_EQ(frame.documentWindows()[1]->windowTitle(), QStringLiteral("rfc9901.txt"));
    DocumentWindow* index = frame.activeDocumentWindow();
    ASSERT_TRUE(index->isIndexDocument());
    const int line = test::caretOf(*index->view()).first;
    const auto& entries = index->document()->text().indexEntries;
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(line + 1, entries[1].firstLine); // firstLine counts from 1
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ParchlyAppTest, AnArgumentNumberMissingFromTheIndexIsReported)
{
    makeApp();
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->openArguments({QStringLiteral("77")});
    EXPECT_EQ(dialogs.messages, QStringList({"RFC 77 is not in the RFC index."}));
}

// File Open starts in the RFC folder with RFCs first.
TEST_F(ParchlyAppTest, FileOpenStartsInTheRfcFolderWithRfcsFirst)
{
    makeApp();
    app->runCommand(kCmdFileOpen);
    EXPECT_EQ(dialogs.openStarts, QStringList({QDir(folder.path()).absolutePath()}));
    EXPECT_EQ(dialogs.openFilters, QStringList({"RFC files (rfc*.txt rfc-index.txt);;All Files (*)"}));
}

TEST_F(ParchlyAppTest, ADarkPaletteGivesDistinctDarkDefaultsAndKeepsChosenColours)
{
    // The user chose the colour of "Table of Contents"; the rest are built in.
    test::writeFile(pathOf("Parchly.ini").toStdString(), "[Table of Contents]\ncolor=1:2:3\n");
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

// ---- The command line and a second start ----

// Numbers stay, files become absolute, options are left out.
TEST(CommandLine, NumbersStayFilesBecomeAbsoluteAndOptionsAreLeftOut)
{
    for (const test::FixtureCase& c : test::readFixtureCases("app/command-lines.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(documentArguments(texts(c.items("arguments")), QStringLiteral("/work/here")),
                  texts(c.items("documents")));
    }
    EXPECT_EQ(rfcNumberArgument(QStringLiteral("007")), 7);
    EXPECT_EQ(rfcNumberArgument(QStringLiteral("/work/here/9110")), 0);
}

// The built program answers its own options and refuses unknown ones;
// files and RFC numbers go on to the program, untouched.
TEST(CommandLine, TheProgramAnswersHelpAndVersionAndRefusesUnknownOptions)
{
    for (const test::FixtureCase& c : test::readFixtureCases("app/program-options.txt")) {
        SCOPED_TRACE(c.title);
        QProcess program;
        program.start(QStringLiteral(PARCHLY_BINARY), texts(c.items("arguments")));
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, c.number("status"));
        const std::string out = program.readAllStandardOutput().toStdString();
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_TRUE(out.find(c["out"]) != std::string::npos && out.empty() == c["out"].empty()) << out;
        EXPECT_NE(err.find(c["err"]), std::string::npos) << err;
    }
    EXPECT_EQ(handleStartupOptions({"parchly", "rfc1.txt", "2616"}), std::nullopt);
}

} // namespace
} // namespace parchly
