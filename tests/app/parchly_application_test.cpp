#include "app/parchly_application.h"
#include "settings/rfc_paths.h"

#include "frame/app_fixture.h"
#include "frame/main_window.h"
#include "settings/profile.h"

#include <QDir>
#include <QFile>

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

TEST_F(ParchlyAppTest, ShowsTheTipOfTheDayBeforeTheMainWindowUnlessTurnedOff)
{
    writeFile(QStringLiteral("tips.txt"), "Parchly opens RFCs.\n");
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"}));
    app.reset();

    Profile(pathOf("Parchly.ini").toStdString()).writeInt("Tip", "StartUp", 1);
    makeApp();
    EXPECT_EQ(dialogs.dialogTitles, QStringList({"Tip of the Day"})) << "no second tip";
}

} // namespace
} // namespace parchly
