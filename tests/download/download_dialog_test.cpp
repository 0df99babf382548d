// The Download dialog: its texts while and after a download runs (driven by
// hand with a test clock), Start and Cancel, and whole downloads with the
// worker's questions answered through the program's dialogs.
// Also the unpack of a downloaded collection as the dialog shows it, and the
// three download commands: their refusals and the request they fill.
#include "download/download_commands.h"
#include "download/download_dialog.h"
#include "download/download_transfer.h"
#include "download/rfc_number_dialog.h"
#include "download/progress_texts.h"
#include "download_test_support.h"
#include "support/fixture_cases.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace parchly {
namespace {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.request().url = "http://127.0.0.1/in-notes/rfc-index.txt";
        dialog.request().localFolder = folder.file("");
        dialog.setClock([this] { return now; });
        dialog.resetFields();
    }
    void TearDown() override { dialog.request().running = false; }

    QString shown(const char* name) const
    {
        if (auto* label = dialog.findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        return dialog.findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    // length|received|percent|elapsed|speed|remaining
    std::string figures() const
    {
        QStringList texts;
        for (const char* name :
             {"fileLength", "received", "percent", "timeElapsed", "speed", "timeRemaining"})
            texts << shown(name);
        return texts.join('|').toStdString();
    }
    template <typename Widget = QWidget> Widget* child(const char* name)
    {
        return dialog.findChild<Widget*>(QLatin1String(name));
    }

    // A download the test drives itself: running, with these counters.
    void running(uint32_t total, uint32_t received, int64_t startTime)
    {
        dialog.request().running = true;
        dialog.request().totalLength = total;
        dialog.request().received = received;
        dialog.request().startTime = startTime;
        dialog.tick();
    }

    test::ScriptedDialogs scripted;
    test::TempFolder folder;
    DownloadDialog dialog;
    int64_t now = 1000000;
};

// One dialog through a download as a user runs it: the worker's questions
// come to the GUI thread through the dialog seam while it waits.
class DialogDownload : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (!test::StartHttpServer(server))
            GTEST_SKIP() << "the test HTTP server could not be started";
        test::writeFile(target, "old");
    }

    // Runs `address` until the worker has returned and the dialog stopped
    // looking at it.
    bool download(const std::string& address)
    {
        dialog.request().url =
            address[0] == '/' ? "http://127.0.0.1:" + std::to_string(server.port()) + address : address;
        dialog.resetFields();
        dialog.start();
        EXPECT_FALSE(child("start")->isEnabled());
        return QTest::qWaitFor([this] { return !dialog.timerRunning() && !workerActive(dialog.request()); },
                               20000);
    }

    test::ServerProcess server;
    const std::string target = folder.file("rfc-index.txt");
};

// ---- The figures ----

// While a download runs: an unknown length shows question marks, a known
// one percent, speed and times until it is exceeded.
TEST_F(DialogTest, TheFiguresFollowTheRunningDownload)
{
    for (const test::FixtureCase& c : test::readFixtureCases("download/running-figures.txt")) {
        SCOPED_TRACE(c.title);
        running(uint32_t(c.number("total")), uint32_t(c.number("received")),
                c.number("elapsed") < 0 ? 0 : now - c.number("elapsed"));
        EXPECT_EQ(figures(), c["shown"]);
    }
}

// Once more received than its length, the length is unknown again.
TEST_F(DialogTest, AnExceededLengthBecomesUnknown)
{
    running(1000, 1500, now - 10);
    EXPECT_EQ(dialog.request().totalLength, 0u);
}

TEST_F(DialogTest, TheOverwriteBoxIsFollowedWhileTheDownloadRuns)
{
    running(2000, 500, now - 1);
    child<QCheckBox>("overwrite")->setChecked(true);
    dialog.tick();
    EXPECT_TRUE(dialog.request().overwrite);
}

TEST_F(DialogTest, TheBarShowsThePercentOrFlashesWithoutALength)
{
    running(2000, 500, now - 1);
    EXPECT_EQ(child<QProgressBar>("progress")->value(), 25);
    running(0, 999, now);
    const int firstBar = child<QProgressBar>("progress")->value();
    dialog.tick();
    EXPECT_EQ(firstBar + child<QProgressBar>("progress")->value(), 100) << "the bar flashes full and empty";
}

// The end: the length becomes what was received; the dialog stays open
// without the close box.
TEST_F(DialogTest, AtTheEndTheLengthIsWhatWasReceivedAndStartComesBack)
{
    running(0, 999, now);
    dialog.request().running = false;
    dialog.request().received = 1000000;
    dialog.tick();
    EXPECT_EQ(shown("fileLength"), "1,000,000");
    EXPECT_EQ(shown("percent"), "100%");
    EXPECT_EQ(shown("timeRemaining"), "00:00:00");
    EXPECT_EQ(child<QProgressBar>("progress")->value(), 100);
    EXPECT_TRUE(child("start")->isEnabled());
    EXPECT_EQ(dialog.request().received + dialog.request().totalLength, 0u);
    EXPECT_EQ(dialog.result(), 0);
}

TEST(ProgressTexts, ASpeedsUnitGrowsWithTheFigure)
{
    for (const test::FixtureCase& c : test::readFixtureCases("download/speeds.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(formatSpeed(uint64_t(c.number("speed"))), c["shown"]);
    }
}

TEST(ProgressTexts, ByteCountsKeepEveryDigitBeyondFourGigabytes)
{
    for (const test::FixtureCase& c : test::readFixtureCases("download/byte-counts.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(formatByteCount(uint64_t(c.number("count"))), c["shown"]);
    }
}

// ---- Start and closing ----

TEST_F(DialogTest, TheIndexsAddressAndLocalFileAreShownReadOnly)
{
    EXPECT_EQ(shown("remoteFile"), "http://127.0.0.1/in-notes/rfc-index.txt");
    EXPECT_EQ(shown("localFile").toStdString(), folder.file("rfc-index.txt"));
    EXPECT_TRUE(child<QLineEdit>("remoteFile")->isReadOnly());
}

TEST_F(DialogTest, ACollectionStartsOnlyWhenConfirmed)
{
    dialog.request().kind = Collection;
    dialog.start();
    EXPECT_EQ(scripted.messages, QStringList{"The operation may take a long time, continue?"});
    EXPECT_FALSE(dialog.request().running);
    EXPECT_FALSE(dialog.timerRunning());
}

// Only a single RFC's address may be edited; the local name follows it.
TEST_F(DialogTest, ASingleRfcsAddressMayBeEditedAndNamesTheLocalFile)
{
    dialog.request().kind = SingleRfc;
    dialog.resetFields();
    QLineEdit* remote = child<QLineEdit>("remoteFile");
    EXPECT_FALSE(remote->isReadOnly());
    remote->setText("http://127.0.0.1/in-notes/rfc2616.txt");
    emit remote->editingFinished();
    EXPECT_EQ(shown("localFile").toStdString(), folder.file("rfc2616.txt"));
}

TEST_F(DialogTest, StartRefusesAnEmptyAddress)
{
    dialog.request().kind = SingleRfc;
    dialog.resetFields();
    child<QLineEdit>("remoteFile")->setText("");
    dialog.start();
    EXPECT_EQ(scripted.messages, QStringList{"Invalid URL!"});
    EXPECT_EQ(shown("status"), "Invalid URL");
    EXPECT_TRUE(child("start")->isEnabled());
    EXPECT_FALSE(dialog.request().running);
}

TEST_F(DialogTest, ClosingAsksWhileADownloadRunsAndStopsItWhenAgreed)
{
    running(100, 10, now);
    scripted.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    dialog.reject();
    EXPECT_TRUE(dialog.request().running);
    EXPECT_EQ(dialog.result(), 0);
    dialog.reject();
    EXPECT_FALSE(dialog.request().running);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_EQ(scripted.messages, QStringList({"Abort downloading?", "Abort downloading?"}));
}

TEST_F(DialogTest, ClosingAsksWhileAnUnpackRunsAndCancelsItWhenAgreed)
{
    DownloadRequest& request = dialog.request();
    request.kind = Collection;
    dialog.resetFields();
    dialog.tick(); // the download has ended; its worker unpacks
    request.unpacking = true;
    request.unpackPercent = 40;
    dialog.tick();
    EXPECT_EQ(child<QProgressBar>("progress")->value(), 40);
    EXPECT_EQ(shown("percent"), "40%");
    scripted.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    dialog.reject();
    EXPECT_FALSE(request.cancelled);
    dialog.reject();
    EXPECT_TRUE(request.cancelled);
    EXPECT_EQ(scripted.messages, QStringList({"Abort unpacking?", "Abort unpacking?"}));
}

TEST_F(DialogTest, AnIdleDialogClosesWithoutAQuestion)
{
    dialog.setResult(-1);
    dialog.reject();
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_TRUE(scripted.messages.isEmpty());
}

// ---- Whole downloads ----

TEST_F(DialogDownload, TheWorkersQuestionsAreAnsweredAndTheEndShown)
{
    scripted.answers.push_back(MessageAnswer::Ok);
    scripted.logins.push_back({"reader", "secret"});
    ASSERT_TRUE(download("/private/rfc-index.txt"));
    EXPECT_EQ(scripted.credentialPrompts.size(), 1);
    EXPECT_EQ(scripted.messages, QStringList{QString::fromLatin1(kOverwriteQuestion)});
    EXPECT_EQ(test::readFile(target), test::indexBody());
    EXPECT_EQ(shown("status"), "Downloaded");
    EXPECT_EQ(shown("percent"), "100%");
}

TEST_F(DialogDownload, AFailureAfterASuccessShowsNoPercent)
{
    scripted.answers.push_back(MessageAnswer::Ok);
    ASSERT_TRUE(download("/rfc-index.txt"));
    ASSERT_TRUE(download("/missing.txt"));
    EXPECT_EQ(shown("status"), "Connection Failed");
    EXPECT_TRUE(shown("percent") == "" || shown("percent") == "0%") << shown("percent").toStdString();
    EXPECT_EQ(child<QProgressBar>("progress")->value(), 0);
}

// A file the reader looks for under a fixed name (errata.json) lands under
// that name, shown so before the download, whatever the address calls it.
TEST_F(DialogDownload, AFixedLocalNameIsWhereTheDownloadLands)
{
    dialog.request().localName = "errata.json";
    ASSERT_TRUE(download("/rfc-index.txt"));
    EXPECT_EQ(shown("status"), "Downloaded");
    EXPECT_EQ(test::readFile(folder.file("errata.json")), test::indexBody());
    EXPECT_EQ(test::readFile(target), "old");
    EXPECT_EQ(shown("localFile").toStdString(), folder.file("errata.json"));
}

TEST_F(DialogDownload, DecliningTheOverwriteAsksForAnotherName)
{
    scripted.paths.push_back(QString::fromStdString(folder.file("other.txt")));
    ASSERT_TRUE(download("/rfc-index.txt"));
    EXPECT_EQ(scripted.messages, QStringList{QString::fromLatin1(kOverwriteQuestion)});
    EXPECT_EQ(test::readFile(target), "old");
    EXPECT_EQ(test::readFile(folder.file("other.txt")), test::indexBody());
}

TEST_F(DialogDownload, ARefusedSchemeClosesTheDialogWhenTheBoxIsChecked)
{
    child<QCheckBox>("closeWhenFinished")->setChecked(true);
    ASSERT_TRUE(download("gopher://127.0.0.1/rfc-index.txt"));
    EXPECT_EQ(scripted.messages, QStringList{"Invalid URL!"});
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(shown("status"), "Invalid URL");
}

// ---- The download commands ----

// Each command stops at its empty address with a message; Download RFC at
// the single-RFC address, before it asks for a number.
TEST(DownloadCommands, AnEmptyAddressIsReported)
{
    test::ScriptedDialogs scripted;
    RfcSettings settings("/tmp/");
    settings.RfcIndexDownloadUrl.clear();
    updateRfcIndex(nullptr, settings);
    settings = RfcSettings("/tmp/");
    settings.RfcFileDownloadUrl.clear();
    downloadRfc(nullptr, settings);
    settings = RfcSettings("/tmp/");
    settings.RfcDownloadUrl.clear();
    downloadRfcCollection(nullptr, settings);
    EXPECT_EQ(scripted.messages,
              (QStringList{"Please input the url of rfc-index.txt", "Please input the url of rfc documents",
                           "Please input the url of rfc documents"}));
    EXPECT_TRUE(scripted.dialogTitles.isEmpty()) << "no number is asked without an address";
}

TEST(DownloadCommands, EachFillsTheRequestForItsKindIntoTheRfcFolder)
{
    RfcSettings settings("/tmp/");
    settings.RfcRootPath = "/home/reader/rfc//";
    settings.RfcFileDownloadUrl = "https://mirror.example.org/rfc";

    const std::pair<DownloadKind, std::string> kinds[] = {
        {IndexFile, settings.RfcIndexDownloadUrl},
        {SingleRfc, "https://mirror.example.org/rfc/rfc9110.txt"},
        {Collection, settings.RfcDownloadUrl}};
    for (const auto& [kind, url] : kinds) {
        auto dialog = createDownloadDialog(nullptr, settings, kind, 9110);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->request().kind, kind);
        EXPECT_EQ(dialog->request().url, url);
        EXPECT_EQ(dialog->request().localFolder, "/home/reader/rfc/");
    }
    EXPECT_EQ(downloadFolder("C:\\RFC\\docs\\"), "C:\\RFC\\docs/");
    EXPECT_EQ(downloadFolder("/srv/rfc/\\/"), "/srv/rfc/");
}

TEST_F(DialogTest, TimesAreLabelledAsTheyAreWritten)
{
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Time elapsed (h:mm:ss):")) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains("Time remaining (h:mm:ss):")) << labels.join('|').toStdString();
}

// Download RFC asks for the number and shows the RFC's own local name
// before Start, from the configured server rather than a fixed template.
TEST(DownloadCommands, DownloadRfcAsksTheNumberAndNamesTheLocalFileAtOnce)
{
    test::ScriptedDialogs scripted;
    scripted.dialogScripts.push_back([](QDialog& dialog) {
        dialog.findChild<QSpinBox*>(QStringLiteral("rfcNumber"))->setValue(9293);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(askRfcNumber(nullptr), std::optional<int32_t>(9293));
    EXPECT_EQ(scripted.dialogTitles, QStringList{"Download RFC"});
    EXPECT_EQ(askRfcNumber(nullptr), std::nullopt) << "a cancelled question downloads nothing";

    RfcSettings settings("/tmp/");
    settings.RfcRootPath = "/home/reader/rfc";
    auto dialog = createDownloadDialog(nullptr, settings, SingleRfc, 9293);
    dialog->resetFields();
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("remoteFile"))->text(),
              "https://www.rfc-editor.org/rfc/rfc9293.txt");
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("localFile"))->text(),
              "/home/reader/rfc/rfc9293.txt");
}

} // namespace
} // namespace parchly
