// The three download commands: their refusals and what they put into the
// Download dialog's request.
#include "download/download_commands.h"
#include "download/download_dlg.h"
#include "support/scripted_dialogs.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(DownloadCommands, AnEmptyAddressSettingIsReportedAndNoDialogRuns)
{
    test::ScriptedDialogs scripted;
    RfcSettings settings("/tmp/");
    settings.RfcIndexDownloadUrl.clear();
    UpdateRfcIndex(nullptr, settings);
    EXPECT_EQ(scripted.messages, QStringList{"Please input the url of rfc-index.txt"});

    // Download RFC needs the collection address although it does not use it.
    settings = RfcSettings("/tmp/");
    settings.RfcDownloadUrl.clear();
    DownloadRfc(nullptr, settings);
    DownloadRfcCollection(nullptr, settings);
    EXPECT_EQ(scripted.messages, (QStringList{"Please input the url of rfc-index.txt",
                                              "Please input the url of rfc documents",
                                              "Please input the url of rfc documents"}));
}

TEST(DownloadCommands, FillTheRequestForTheirKind)
{
    RfcSettings settings("/tmp/");
    settings.RfcIndexDownloadUrl = "http://127.0.0.1/in-notes/rfc-index.txt";
    settings.RfcDownloadUrl = "http://127.0.0.1/in-notes/tar/RFC-all.zip";
    settings.RfcRootPath = "/home/reader/rfc";

    auto index = CreateDownloadDialog(nullptr, settings, IndexFile);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->request().Url, settings.RfcIndexDownloadUrl);
    EXPECT_EQ(index->request().Kind, IndexFile);
    EXPECT_EQ(index->request().LocalFolder, "/home/reader/rfc/");

    auto single = CreateDownloadDialog(nullptr, settings, SingleRfc);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->request().Url, "https://www.rfc-editor.org/in-notes/rfcxxxx.txt");
    EXPECT_EQ(single->request().Kind, SingleRfc);
    single->resetFields();
    EXPECT_FALSE(single->findChild<QLineEdit*>(QStringLiteral("remoteFile"))->isReadOnly());
    EXPECT_EQ(single->findChild<QLineEdit*>(QStringLiteral("localFile"))->text(), "/home/reader/rfc/rfcxxxx.txt");

    auto collection = CreateDownloadDialog(nullptr, settings, Collection);
    ASSERT_TRUE(collection);
    EXPECT_EQ(collection->request().Url, settings.RfcDownloadUrl);
    EXPECT_EQ(collection->request().Kind, Collection);
}

TEST(DownloadCommands, TheLocalFolderEndsInExactlyOneSlash)
{
    EXPECT_EQ(DownloadFolder("/srv/rfc//"), "/srv/rfc/");
    EXPECT_EQ(DownloadFolder("C:\\RFC\\docs\\"), "C:\\RFC\\docs/");
    EXPECT_EQ(DownloadFolder("/srv/rfc/\\/"), "/srv/rfc/");
    EXPECT_EQ(DownloadFolder(""), "/");
}

TEST(DownloadCommands, TheDefaultAddressesAreTheRfcEditorsHttpsOnes)
{
    const RfcSettings settings("/tmp/");
    EXPECT_EQ(settings.RfcIndexDownloadUrl, "https://www.rfc-editor.org/in-notes/rfc-index.txt");
    EXPECT_EQ(settings.RfcDownloadUrl, "https://www.rfc-editor.org/in-notes/tar/RFC-all.zip");
}

} // namespace
} // namespace parchly
