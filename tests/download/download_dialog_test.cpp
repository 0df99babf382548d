// The Download dialog: its texts while and after a download runs (driven by
// hand with a test clock), Start and Cancel, and whole downloads with the
// worker's questions answered through the program's dialogs.
#include "download/download_dlg.h"
#include "download/download_transfer.h"
#include "download_fixture.h"
#include "server_process.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace parchly {
namespace {

class DownloadDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.request().Url = "http://127.0.0.1/in-notes/rfc-index.txt";
        dialog.request().LocalFolder = folder.path();
        dialog.setClock([this] { return now; });
    }
    void TearDown() override { DownloadRunning = false; }

    QString shown(const char* name) const
    {
        if (auto* label = dialog.findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        return dialog.findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    QLineEdit* remoteFile() { return dialog.findChild<QLineEdit*>(QStringLiteral("remoteFile")); }
    QProgressBar* bar() { return dialog.findChild<QProgressBar*>(QStringLiteral("progress")); }
    QPushButton* startButton() { return dialog.findChild<QPushButton*>(QStringLiteral("start")); }
    QCheckBox* box(const char* name) { return dialog.findChild<QCheckBox*>(QLatin1String(name)); }

    // A download the test drives itself: running, with these counters.
    void running(uint32_t total, uint32_t received, int64_t startTime)
    {
        DownloadRunning = true;
        dialog.request().TotalLength = total;
        dialog.request().Received = received;
        dialog.request().StartTime = startTime;
        dialog.tick();
    }

    test::ScriptedDialogs scripted;
    test::ScratchFolder folder;
    CDownloadDlg dialog;
    int64_t now = 1000000;
};

TEST_F(DownloadDialog, OpensWithTheAddressLocalFileAndClearedProgress)
{
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* label : {"Remote File:", "Local File:", "Status:", "Progress:", "Speed (bps):",
                              "File Length (bytes):", "Received (bytes):", "Time Elapsed (HH/MM/SS):",
                              "Time Remaining (HH/MM/SS):"})
        EXPECT_TRUE(labels.contains(QLatin1String(label))) << label;
    QStringList groups;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, (QStringList{"File", "Download", "Options"}));
    EXPECT_EQ(dialog.windowTitle(), "Download");

    dialog.resetFields();
    EXPECT_EQ(shown("remoteFile"), "http://127.0.0.1/in-notes/rfc-index.txt");
    EXPECT_EQ(shown("localFile").toStdString(), folder.path() + "rfc-index.txt");
    EXPECT_EQ(shown("status"), "Ready");
    EXPECT_EQ(shown("speed"), "0");
    EXPECT_EQ(shown("fileLength"), "0");
    EXPECT_EQ(shown("received"), "0");
    EXPECT_EQ(shown("timeElapsed"), "00:00:00");
    EXPECT_EQ(shown("timeRemaining"), "00:00:00");
    EXPECT_EQ(shown("percent"), "");
    EXPECT_TRUE(remoteFile()->isReadOnly());
    EXPECT_FALSE(box("overwrite")->isChecked());
    EXPECT_FALSE(box("closeWhenFinished")->isChecked());
    EXPECT_TRUE(startButton()->isDefault());

    // Only a single RFC's address may be edited; leaving the field shows
    // the local name of what was typed.
    dialog.request().Kind = SingleRfc;
    dialog.resetFields();
    EXPECT_FALSE(remoteFile()->isReadOnly());
    remoteFile()->setText("http://127.0.0.1/in-notes/rfc2616.txt");
    emit remoteFile()->editingFinished();
    EXPECT_EQ(shown("localFile").toStdString(), folder.path() + "rfc2616.txt");
}

TEST_F(DownloadDialog, AnUnknownLengthShowsQuestionMarksAndAFlashingBar)
{
    dialog.resetFields();
    running(0, 0, 0);
    EXPECT_EQ(shown("fileLength"), "?");
    EXPECT_EQ(shown("received"), "?");
    EXPECT_EQ(shown("speed"), "0");  // no data yet: the display stays as reset

    // The first second of the copy: no speed yet.
    running(0, 999, now);
    EXPECT_EQ(shown("received"), "999");
    EXPECT_EQ(shown("percent"), "?%");
    EXPECT_EQ(shown("speed"), "?");
    EXPECT_EQ(shown("timeElapsed"), "00:00:00");
    EXPECT_EQ(shown("timeRemaining"), "??:??:??");
    const int firstBar = bar()->value();
    dialog.tick();
    EXPECT_EQ(firstBar + bar()->value(), 100) << "the bar flashes full and empty";

    // The end: the length becomes what was received.
    DownloadRunning = false;
    dialog.request().Received = 1000000;
    dialog.tick();
    EXPECT_EQ(shown("fileLength"), "1,000,000");
    EXPECT_EQ(shown("percent"), "100%");
    EXPECT_EQ(shown("timeRemaining"), "00:00:00");
    EXPECT_EQ(bar()->value(), 100);
    EXPECT_TRUE(startButton()->isEnabled());
    EXPECT_EQ(dialog.request().Received + dialog.request().TotalLength, 0u);
    EXPECT_EQ(dialog.request().StartTime, 0);
    EXPECT_EQ(dialog.result(), 0) << "the dialog stays open without the close box";
}

TEST_F(DownloadDialog, AKnownLengthShowsPercentSpeedAndTimes)
{
    dialog.resetFields();
    now += 3725;
    running(2000000, 1000000, now - 3725);
    EXPECT_EQ(shown("fileLength"), "2,000,000");
    EXPECT_EQ(shown("received"), "1,000,000");
    EXPECT_EQ(shown("percent"), "50%");
    EXPECT_EQ(bar()->value(), 50);
    EXPECT_EQ(shown("timeElapsed"), "01:02:05");
    EXPECT_EQ(shown("speed"), "268");  // 1,000,000 bytes in 3725 s
    EXPECT_EQ(shown("timeRemaining"), "01:02:05");

    running(2000, 1000, now - 360000);
    EXPECT_EQ(shown("timeElapsed"), "100:00:00");
    EXPECT_EQ(shown("timeRemaining"), "100:00:00");
    EXPECT_EQ(shown("fileLength"), "2,000");
}

TEST_F(DownloadDialog, AnExceededLengthBecomesUnknown)
{
    dialog.resetFields();
    running(1000, 1500, now - 10);
    EXPECT_EQ(dialog.request().TotalLength, 0u);
    EXPECT_EQ(shown("fileLength"), "?");
    EXPECT_EQ(shown("percent"), "?%");
    EXPECT_EQ(shown("timeRemaining"), "??:??:??");
    EXPECT_EQ(shown("speed"), "150");
}

TEST_F(DownloadDialog, TheOverwriteBoxIsFollowedWhileRunning)
{
    dialog.resetFields();
    running(100, 10, now);
    EXPECT_FALSE(dialog.request().Overwrite);
    box("overwrite")->setChecked(true);
    dialog.tick();
    EXPECT_TRUE(dialog.request().Overwrite);
}

TEST_F(DownloadDialog, CancelAsksOnlyWhileADownloadRuns)
{
    running(100, 10, now);
    scripted.answers.push_back(MessageAnswer::Cancel);
    dialog.reject();
    EXPECT_EQ(scripted.messages, QStringList{"Abort downloading?"});
    EXPECT_TRUE(DownloadRunning);
    EXPECT_EQ(dialog.result(), 0);

    scripted.answers.push_back(MessageAnswer::Ok);
    dialog.reject();
    EXPECT_FALSE(DownloadRunning);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_EQ(scripted.messages.size(), 2);

    CDownloadDlg idle;
    idle.setResult(-1);
    idle.reject();
    EXPECT_EQ(idle.result(), int(QDialog::Rejected));
    EXPECT_EQ(scripted.messages.size(), 2) << "nothing runs: no question";
}

TEST_F(DownloadDialog, StartRefusesABadAddressOrAnUnconfirmedCollection)
{
    dialog.request().Kind = Collection;
    dialog.resetFields();
    dialog.start();
    EXPECT_EQ(scripted.messages, QStringList{"The operation may take a long time, continue?"});
    EXPECT_FALSE(DownloadRunning);
    EXPECT_FALSE(dialog.timerRunning());

    dialog.request().Kind = SingleRfc;
    dialog.resetFields();
    remoteFile()->setText("");
    dialog.start();
    EXPECT_EQ(scripted.messages.last(), "Invalid URL!");
    EXPECT_EQ(shown("status"), "Invalid URL");
    EXPECT_TRUE(startButton()->isEnabled());
    EXPECT_FALSE(DownloadRunning);
}

// Whole downloads: the worker's questions come to the GUI thread through
// the dialog seam while the worker waits.
class DialogDownload : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::StartHttpServer(server))
            GTEST_SKIP() << "the test HTTP server could not be started";
        dialog.request().LocalFolder = folder.path();
    }

    void startAt(const std::string& path)
    {
        dialog.request().Url = "http://127.0.0.1:" + std::to_string(server.port()) + path;
        dialog.resetFields();
        dialog.start();
    }

    // Lets the event loop run until the worker has returned and the dialog
    // has stopped looking at it (at most 20 s).
    bool finish()
    {
        QElapsedTimer waited;
        waited.start();
        while ((dialog.timerRunning() || WorkerActive(dialog.request())) && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return !dialog.timerRunning() && !WorkerActive(dialog.request());
    }

    QString status() const { return dialog.findChild<QLabel*>(QStringLiteral("status"))->text(); }

    test::ServerProcess server;
    test::ScratchFolder folder;
    test::ScriptedDialogs scripted;
    CDownloadDlg dialog;
};

TEST_F(DialogDownload, TheOverwriteQuestionIsAnsweredOnTheGuiThread)
{
    const std::string target = folder.path() + "rfc-index.txt";
    test::WriteWholeFile(target, "old");
    scripted.answers.push_back(MessageAnswer::Ok);
    startAt("/rfc-index.txt");
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("start"))->isEnabled());
    ASSERT_TRUE(finish());
    EXPECT_EQ(scripted.messages, QStringList{QString::fromLatin1(kOverwriteQuestion)});
    EXPECT_EQ(test::ReadWholeFile(target), test::IndexBody());
    EXPECT_EQ(status(), "Downloaded");
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("start"))->isEnabled());
}

TEST_F(DialogDownload, DecliningAskForAnotherNameAndCredentialsAreAskedForToo)
{
    const std::string target = folder.path() + "rfc-index.txt";
    test::WriteWholeFile(target, "old");
    scripted.logins.push_back({"reader", "secret"});
    scripted.paths.push_back(QString::fromStdString(folder.path() + "other.txt"));
    startAt("/private/rfc-index.txt");
    ASSERT_TRUE(finish());
    EXPECT_EQ(scripted.credentialPrompts.size(), 1);
    EXPECT_EQ(scripted.messages, QStringList{QString::fromLatin1(kOverwriteQuestion)});
    EXPECT_EQ(scripted.pathCaptions.size(), 1);
    EXPECT_EQ(test::ReadWholeFile(target), "old");
    EXPECT_EQ(test::ReadWholeFile(folder.path() + "other.txt"), test::IndexBody());
}

TEST_F(DialogDownload, ARefusedSchemeClosesTheDialogWhenTheBoxIsChecked)
{
    dialog.findChild<QCheckBox*>(QStringLiteral("closeWhenFinished"))->setChecked(true);
    dialog.request().Url = "gopher://127.0.0.1/rfc-index.txt";
    dialog.resetFields();
    dialog.start();
    ASSERT_TRUE(finish());
    EXPECT_EQ(scripted.messages, QStringList{"Invalid URL!"});
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(status(), "Invalid URL");
}

} // namespace
} // namespace parchly
