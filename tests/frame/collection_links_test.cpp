// A link to an RFC the folder lacks fetches it from a server the test
// starts on loopback and opens it where the link points; the status bar's
// notice of new RFCs after a check.
#include "frame/main_window.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/new_rfcs_notice.h"
#include "view/command_ids.h"
#include "settings/settings.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "../update/update_test_support.h"

#include <QPushButton>
#include <QTest>

namespace parchly {
namespace {

class CollectionLinksTest : public test::AppFixture {
protected:
    test::TempFolder served;

    std::string fixtureRfc() const { return test::readFile(PARCHLY_FIXTURES_DIR "/frame/rfc9901.txt"); }

    // Serves rfc9902.txt, starts the program and opens rfc9901.txt; false
    // when no server could be started.
    bool openBesideAServedRfc()
    {
        served.write("rfc9902.txt", fixtureRfc());
        server = std::make_unique<test::FileServer>(served.path(), false);
        if (!server->running())
            return false;
        makeApp();
        app->settings().RfcFileDownloadUrl = server->url("");
        EXPECT_NE(app->openDocumentFile(copyRfc(QStringLiteral("rfc9901.txt"))), nullptr);
        return true;
    }

    std::unique_ptr<test::FileServer> server;
};

TEST_F(CollectionLinksTest, LinkToAMissingRfcFetchesItAndOpensAtTheSection)
{
    if (!openBesideAServedRfc())
        GTEST_SKIP() << "no HTTP test server";
    ReadingView* from = frame().activeDocumentWindow()->view();
    dialogs.answers = {MessageAnswer::Yes};
    from->links().followToRfc(9902, "2");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("RFC 9902 is not in the RFC folder.")));
    EXPECT_EQ(test::readFile(pathOf(QStringLiteral("rfc9902.txt")).toStdString()), fixtureRfc());
    DocumentWindow* opened = frame().activeDocumentWindow();
    ASSERT_TRUE(opened && opened->view());
    EXPECT_TRUE(opened->view()->rfcDocument()->pathName().endsWith(QStringLiteral("rfc9902.txt")));
    EXPECT_EQ(test::caretOf(*opened->view()).first, 66)
        << "not at the heading \"2.  Framing\" (file line 67)";
}

TEST_F(CollectionLinksTest, DeclinedFetchOpensNothingAndWritesNothing)
{
    if (!openBesideAServedRfc())
        GTEST_SKIP() << "no HTTP test server";
    dialogs.answers = {MessageAnswer::No};
    frame().activeDocumentWindow()->view()->links().followToRfc(9902, "2");
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("rfc9902.txt"))));
    EXPECT_EQ(frame().documentWindows().size(), 1u);
}

TEST_F(CollectionLinksTest, CheckShowsTheCountOfNewRfcsInTheStatusBar)
{
    std::string feed = "<rss version=\"2.0\"><channel>";
    for (int number = 9990; number < 9997; ++number)
        feed += "<item><title>RFC " + std::to_string(number)
            + ": New</title><link>https://www.rfc-editor.org/info/rfc" + std::to_string(number)
            + "</link></item>";
    served.write("rfcrss.xml", feed + "</channel></rss>");
    test::FileServer feedServer(served.path(), false);
    if (!feedServer.running())
        GTEST_SKIP() << "no HTTP test server";
    makeApp();
    app->settings().NewRfcFeedUrl = feedServer.url("rfcrss.xml");
    app->settings().RfcIndexDownloadUrl = feedServer.url("rfc-index.txt");
    NewRfcsNotice* notice = frame().newRfcsNotice();
    EXPECT_TRUE(notice->button()->isHidden()) << "no check runs unless asked or switched on";
    frame().routeCommand(kCmdCheckNewRfcs);
    ASSERT_TRUE(QTest::qWaitFor([notice] { return !notice->newRfcs().empty(); }, 30000));
    EXPECT_EQ(notice->button()->text(), QStringLiteral("7 new RFCs"));
    EXPECT_FALSE(notice->button()->isHidden());
}

TEST_F(CollectionLinksTest, StartUpCheckRunsOnlyWhenSwitchedOnAndDue)
{
    makeApp();
    // Nothing listens there: a check that runs fails at once, on this machine.
    const std::string closed = "http://127.0.0.1:" + std::to_string(test::freePort());
    app->settings().NewRfcFeedUrl = closed + "/rfcrss.xml";
    app->settings().RfcIndexDownloadUrl = closed + "/rfc-index.txt";
    app->settings().CheckForNewRfcs = NewRfcCheck::Never;
    frame().newRfcsNotice()->checkIfDue(1800000000);
    EXPECT_EQ(RfcSettings::lastNewRfcCheck(app->profile()), 0) << "a check ran although switched off";
    app->settings().CheckForNewRfcs = NewRfcCheck::Weekly;
    frame().newRfcsNotice()->checkIfDue(1800000000);
    EXPECT_EQ(RfcSettings::lastNewRfcCheck(app->profile()), 1800000000);
    frame().newRfcsNotice()->checkIfDue(1800000000 + 3 * 24 * 3600);
    EXPECT_EQ(RfcSettings::lastNewRfcCheck(app->profile()), 1800000000) << "checked again within the week";
}

} // namespace
} // namespace parchly
