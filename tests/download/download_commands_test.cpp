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
    // Download RFC needs the collection address although it does not use it.
    settings = RfcSettings("/tmp/");
    settings.RfcDownloadUrl.clear();
    DownloadRfc(nullptr, settings);
    DownloadRfcCollection(nullptr, settings);
    EXPECT_EQ(scripted.messages, (QStringList{"Please input the url of rfc-index.txt",
                                              "Please input the url of rfc documents",
                                              "Please input the url of rfc documents"}));
}

TEST(DownloadCommands, FillTheRequestForTheirKindFromTheHttpsDefaults)
{
    RfcSettings settings("/tmp/");
    EXPECT_EQ(settings.RfcIndexDownloadUrl, "https://www.rfc-editor.org/in-notes/rfc-index.txt");
    EXPECT_EQ(settings.RfcDownloadUrl, "https://www.rfc-editor.org/in-notes/tar/RFC-all.zip");
    settings.RfcRootPath = "/home/reader/rfc//";

    for (DownloadKind kind : {IndexFile, SingleRfc, Collection}) {
        auto dialog = CreateDownloadDialog(nullptr, settings, kind);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->request().Kind, kind);
        EXPECT_EQ(dialog->request().LocalFolder, "/home/reader/rfc/");
        if (kind != SingleRfc) {
            EXPECT_EQ(dialog->request().Url,
                      kind == IndexFile ? settings.RfcIndexDownloadUrl : settings.RfcDownloadUrl);
        }
    }
    auto single = CreateDownloadDialog(nullptr, settings, SingleRfc);
    single->resetFields();
    EXPECT_EQ(single->request().Url, "https://www.rfc-editor.org/in-notes/rfcxxxx.txt");
    EXPECT_EQ(single->findChild<QLineEdit*>(QStringLiteral("localFile"))->text(), "/home/reader/rfc/rfcxxxx.txt");
    EXPECT_EQ(DownloadFolder("C:\\RFC\\docs\\"), "C:\\RFC\\docs/");
    EXPECT_EQ(DownloadFolder("/srv/rfc/\\/"), "/srv/rfc/");
}

} // namespace
} // namespace parchly
