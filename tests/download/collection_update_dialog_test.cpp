// Update RFC Collection, the list of new RFCs and the fetch a link needs,
// through their real widgets against servers the tests start on loopback.
#include "download/collection_commands.h"
#include "download/collection_update_dialog.h"
#include "download/new_rfcs_dialog.h"
#include "download/rfc_list.h"
#include "support/scripted_dialogs.h"
#include "../update/update_test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace parchly {
namespace {

using test::rfcBody;

class CollectionWindowsTest : public ::testing::Test {
protected:
    test::TempFolder served;
    test::TempFolder local;
    test::ScriptedDialogs scripted;
};

// The HTTP test server over `served`, which the tests fill, and settings
// that fetch from it into `local`.
class FetchFromServerTest : public CollectionWindowsTest {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << "no HTTP test server";
        settings.RfcRootPath = local.path().string();
        settings.RfcIndexDownloadUrl = server.url("rfc-index.txt");
        settings.RfcFileDownloadUrl = server.url("");
    }

    test::FileServer server{served.path(), false};
    RfcSettings settings{"/tmp/"};
};

TEST_F(CollectionWindowsTest, UpdateDialogEndsWithTheSummaryAndOpenableNewRfcs)
{
    test::writeTree(served.path(),
                    {{"rfc1.txt", rfcBody(1)},
                     {"rfc9110.txt", rfcBody(9110)},
                     {"rfc-index.txt", test::indexText({1, 9110})},
                     {"bcp/bcp14.txt", "BCP 14\n"}});
    test::RsyncDaemon daemon(served.path());
    if (!daemon.running())
        GTEST_SKIP() << "no rsync daemon";
    UpdateOptions options;
    options.source = daemon.moduleUrl();
    options.folder = local.path().string();
    CollectionUpdateDialog dialog(options);
    std::vector<int32_t> opened;
    QObject::connect(&dialog, &CollectionUpdateDialog::openRfc,
                     [&](int32_t number) { opened.push_back(number); });
    dialog.findChild<QPushButton*>(QStringLiteral("start"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.running(); }, 60000));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("summary"))->text(),
              "2 new RFCs, 0 replaced, 0 failed");
    auto* list = dialog.findChild<RfcList*>();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(1), "Fixture Protocol Number 9110");
    EXPECT_EQ(list->topLevelItem(1)->text(2), "PROPOSED STANDARD");
    emit list->itemActivated(list->topLevelItem(1), 0);
    EXPECT_EQ(opened, (std::vector<int32_t>{9110}));
}

TEST_F(FetchFromServerTest, NewRfcsListFetchesAllAndOpensOne)
{
    test::writeTree(served.path(), {{"rfc7.txt", rfcBody(7)}, {"rfc8.txt", rfcBody(8)}});
    HttpsOptions options{
        settings.RfcIndexDownloadUrl, settings.RfcFileDownloadUrl, settings.RfcRootPath, "", 6, 15};
    ListedRfc seven;
    seven.number = 7;
    ListedRfc eight;
    eight.number = 8;
    NewRfcsDialog dialog({seven, eight}, options);
    EXPECT_EQ(dialog.windowTitle(), "2 new RFCs");
    std::vector<int32_t> opened;
    QObject::connect(&dialog, &NewRfcsDialog::openRfc, [&](int32_t number) { opened.push_back(number); });
    dialog.fetch(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.fetching(); }, 60000));
    EXPECT_EQ(test::readFile(local.file("rfc7.txt")), rfcBody(7));
    EXPECT_EQ(test::readFile(local.file("rfc8.txt")), rfcBody(8));
    dialog.findChild<QPushButton*>(QStringLiteral("open"))->click();
    EXPECT_EQ(opened, (std::vector<int32_t>{7})) << "the current row opens";
}

TEST_F(FetchFromServerTest, MissingRfcIsFetchedOnlyWhenTheReaderAgrees)
{
    served.write("rfc9293.txt", rfcBody(9293));
    scripted.answers = {MessageAnswer::No};
    EXPECT_FALSE(fetchMissingRfc(nullptr, settings, 9293));
    EXPECT_FALSE(std::filesystem::exists(local.file("rfc9293.txt")));
    ASSERT_EQ(scripted.messages.size(), 1);
    EXPECT_TRUE(scripted.messages[0].startsWith("RFC 9293 is not in the RFC folder. Fetch it now"));

    scripted.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(fetchMissingRfc(nullptr, settings, 9293));
    EXPECT_EQ(test::readFile(local.file("rfc9293.txt")), rfcBody(9293));
}

TEST_F(FetchFromServerTest, MissingRfcIsFetchedWithoutAQuestionWhenOptionsSaySo)
{
    served.write("rfc791.txt", rfcBody(791));
    settings.FetchMissingRfcOnLink = true;
    EXPECT_TRUE(fetchMissingRfc(nullptr, settings, 791));
    EXPECT_TRUE(scripted.messages.isEmpty());
    // A number the server lacks: why, in a message, and nothing written.
    EXPECT_FALSE(fetchMissingRfc(nullptr, settings, 792));
    ASSERT_EQ(scripted.messages.size(), 1);
    EXPECT_NE(scripted.messages[0].indexOf("status 404"), -1) << scripted.messages[0].toStdString();
    EXPECT_EQ(test::namesIn(local.path()), (std::set<std::string>{"rfc791.txt"}));
}

} // namespace
} // namespace parchly
