// The three download commands: their refusals and what they put into the
// Download dialog's request.
#include "download/download_commands.h"
#include "download/download_dialog.h"
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
    updateRfcIndex(nullptr, settings);
    // Download RFC needs the collection address although it does not use it.
    settings = RfcSettings("/tmp/");
    settings.RfcDownloadUrl.clear();
    downloadRfc(nullptr, settings);
    downloadRfcCollection(nullptr, settings);
    EXPECT_EQ(scripted.messages,
              (QStringList{"Please input the url of rfc-index.txt", "Please input the url of rfc documents",
                           "Please input the url of rfc documents"}));
}

TEST(DownloadCommands, FillTheRequestForTheirKindFromTheHttpsDefaults)
{
    RfcSettings settings("/tmp/");
    settings.RfcRootPath = "/home/reader/rfc//";

    for (DownloadKind kind : {IndexFile, SingleRfc, Collection}) {
        auto dialog = createDownloadDialog(nullptr, settings, kind);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->request().kind, kind);
        EXPECT_EQ(dialog->request().localFolder, "/home/reader/rfc/");
        if (kind != SingleRfc) {
            EXPECT_EQ(dialog->request().url,
                      kind == IndexFile ? settings.RfcIndexDownloadUrl : settings.RfcDownloadUrl);
        }
    }
    auto single = createDownloadDialog(nullptr, settings, SingleRfc);
    single->resetFields();
    EXPECT_EQ(single->request().url, "https://www.rfc-editor.org/in-notes/rfcxxxx.txt");
    EXPECT_EQ(single->findChild<QLineEdit*>(QStringLiteral("localFile"))->text(),
              "/home/reader/rfc/rfcxxxx.txt");
    EXPECT_EQ(downloadFolder("C:\\RFC\\docs\\"), "C:\\RFC\\docs/");
    EXPECT_EQ(downloadFolder("/srv/rfc/\\/"), "/srv/rfc/");
}

} // namespace
} // namespace parchly
