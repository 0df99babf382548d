// The unpack of a downloaded collection as the Download dialog shows it: its
// progress, its Cancel, and the RFC files landing where links look for them.
#include "archive_fixture.h"
#include "download/download_commands.h"
#include "download/download_dialog.h"
#include "download_test_support.h"
#include "settings/rfc_paths.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(UnpackDialog, ShowsTheUnpackProgressAndAsksBeforeAbortingIt)
{
    test::ScriptedDialogs scripted;
    DownloadDialog dialog;
    DownloadRequest& request = dialog.request();
    request.kind = Collection;
    dialog.resetFields();
    dialog.tick(); // the download has ended; its worker unpacks
    request.unpacking = true;
    request.unpackPercent = 40;
    dialog.tick();
    EXPECT_EQ(dialog.findChild<QProgressBar*>("progress")->value(), 40);
    EXPECT_EQ(dialog.findChild<QLabel*>("percent")->text(), "40%");

    scripted.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    dialog.reject();
    EXPECT_FALSE(request.cancelled);
    dialog.reject();
    EXPECT_EQ(scripted.messages, QStringList({"Abort unpacking?", "Abort unpacking?"}));
    EXPECT_TRUE(request.cancelled);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    request.unpacking = false;
}

TEST(UnpackDialog, ACollectionIsUnpackedWhereLinksLookForRfcs)
{
    test::ScriptedDialogs scripted;
    test::TempFolder served, folder;
    ASSERT_TRUE(test::writeArchive(served.file("RFC-all.zip"), test::ArchiveFormat::Zip,
                                   {{"rfc2068.txt", "RFC 2068"}, {"rfc-index.txt", "the index"}}));
    test::ServerProcess server;
    if (!test::StartFtpServer(server, served.path().string()))
        GTEST_SKIP() << "pyftpdlib could not be started";
    RfcSettings settings;
    settings.RfcRootPath = folder.path().string();
    settings.RfcDownloadUrl = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/RFC-all.zip";
    ASSERT_FALSE(canOpenForReading(rfcPath(settings.RfcRootPath, 2068)));

    const std::unique_ptr<DownloadDialog> dialog = createDownloadDialog(nullptr, settings, Collection);
    dialog->resetFields();
    scripted.answers = {MessageAnswer::Ok}; // "The operation may take a long time, continue?"
    dialog->start();
    QElapsedTimer waited;
    waited.start();
    while ((dialog->timerRunning() || workerActive(dialog->request())) && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    EXPECT_EQ(dialog->findChild<QLabel*>("status")->text(), "Unpacked 2 files");
    EXPECT_TRUE(canOpenForReading(rfcPath(settings.RfcRootPath, 2068)));
    EXPECT_EQ(test::namesIn(folder.path()), (std::set<std::string>{"rfc-index.txt", "rfc2068.txt"}));
}

} // namespace
} // namespace parchly
