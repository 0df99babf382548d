// HTTP downloads against the test server: what lands, with which time and
// status, and what the user was asked.
#include "download/download_request.h"
#include "download/download_transfer.h"
#include "download_fixture.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace parchly {
namespace {

using test::ModificationTime;
using test::PathExists;
using test::ReadWholeFile;
using test::ScriptedAsker;
using Asked = std::vector<std::string>;

class HttpTransfer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new test::ServerProcess;
        if (!test::StartHttpServer(*server)) {
            delete server;
            server = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        if (!server)
            GTEST_SKIP() << "the test HTTP server could not be started";
    }

    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server->port()) + path;
    }

    // Downloads `path` into the scratch folder and destroys the request,
    // which must leave no temporary file behind.
    void download(const std::string& path, bool overwrite = false)
    {
        auto request = test::MakeRequest(url(path), folder.path(), asker);
        request->Overwrite = overwrite;
        test::RunHere(*request);
        status = request->Status.get();
        totalLength = request->TotalLength;
        received = request->Received;
        request.reset();
        EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000")) << "left behind by " << path;
    }

    std::string target() const { return folder.path() + "rfc-index.txt"; }

    static test::ServerProcess* server;
    test::ScratchFolder folder;
    std::shared_ptr<ScriptedAsker> asker = std::make_shared<ScriptedAsker>();
    std::string status;
    uint32_t totalLength = 0;
    uint32_t received = 0;
};

test::ServerProcess* HttpTransfer::server = nullptr;

TEST_F(HttpTransfer, AFileWithALengthLandsWithItsRemoteTime)
{
    download("/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
    EXPECT_EQ(ModificationTime(target()), test::kIndexModified);
    EXPECT_EQ(status, "Downloaded");
    EXPECT_EQ(totalLength, test::IndexBody().size());
    EXPECT_EQ(received, test::IndexBody().size());
    EXPECT_TRUE(asker->asked().empty());
}

TEST_F(HttpTransfer, FilesWithoutALengthOrEmptyLandToo)
{
    download("/nolength/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
    EXPECT_EQ(totalLength, 0u);
    EXPECT_EQ(received, test::IndexBody().size());
    EXPECT_EQ(status, "Downloaded");

    download("/empty/rfc-index.txt", true);
    EXPECT_TRUE(PathExists(target()));
    EXPECT_EQ(ReadWholeFile(target()), "");
    EXPECT_EQ(status, "Downloaded");
    EXPECT_TRUE(asker->asked().empty());
}

TEST_F(HttpTransfer, SendsItsOwnAcceptAndAgentHeaders)
{
    download("/headers/echo.txt");
    const std::string echoed = ReadWholeFile(folder.path() + "echo.txt");
    EXPECT_NE(echoed.find("Accept: */*\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("User-Agent: Parchly\n"), std::string::npos) << echoed;
}

TEST_F(HttpTransfer, OneRedirectIsFollowedToAnHttpTarget)
{
    for (const char* path : {"/redirect/301/rfc-index.txt", "/redirect/302/rfc-index.txt",
                             "/redirect/303/rfc-index.txt", "/relative/rfc-index.txt"}) {
        SCOPED_TRACE(path);
        download(path, true);
        EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
        EXPECT_EQ(ModificationTime(target()), test::kIndexModified);
        EXPECT_EQ(status, "Downloaded");
    }
    EXPECT_TRUE(asker->asked().empty());
}

TEST_F(HttpTransfer, RedirectsThatCannotBeFollowedSaveNothing)
{
    for (const char* path : {"/twohops/rfc-index.txt", "/toftp/rfc-index.txt", "/nolocation/rfc-index.txt",
                             "/tomissing/rfc-index.txt"}) {
        SCOPED_TRACE(path);
        asker = std::make_shared<ScriptedAsker>();
        download(path);
        EXPECT_FALSE(PathExists(target()));
        EXPECT_EQ(status, "Ready");
        EXPECT_EQ(asker->asked(), Asked{"tell: The redirection could not be followed."});
    }
}

TEST_F(HttpTransfer, RefusedAccessIsRetriedOnceWithTheUsersCredentials)
{
    asker->logins.push_back({"reader", "secret"});
    download("/private/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
    EXPECT_EQ(status, "Downloaded");
    EXPECT_EQ(asker->asked(), Asked{"credentials: 127.0.0.1"});
}

TEST_F(HttpTransfer, RefusedAccessWithoutGoodCredentialsSavesNothing)
{
    download("/private/rfc-index.txt");
    EXPECT_EQ(asker->asked(), (Asked{"credentials: 127.0.0.1", "tell: Authentication failed."}));
    EXPECT_EQ(status, "Ready");
    EXPECT_FALSE(PathExists(target()));

    asker = std::make_shared<ScriptedAsker>();
    asker->logins.push_back({"reader", "wrong"});
    download("/private/rfc-index.txt");
    EXPECT_EQ(asker->asked(), (Asked{"credentials: 127.0.0.1",
                                     "tell: The server answered with status 401; nothing was saved."}));
    EXPECT_EQ(status, "Connection Failed");
    EXPECT_FALSE(PathExists(target()));
}

TEST_F(HttpTransfer, AnErrorPageNeverReplacesTheTarget)
{
    test::WriteWholeFile(target(), "the good old index");
    download("/missing/rfc-index.txt", true);
    EXPECT_EQ(ReadWholeFile(target()), "the good old index");
    EXPECT_EQ(status, "Connection Failed");
    EXPECT_EQ(asker->asked(), Asked{"tell: The server answered with status 404; nothing was saved."});
}

TEST_F(HttpTransfer, BytesBeyondTheAnnouncedLengthAreNotTaken)
{
    download("/excess/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), "0123456789");
    EXPECT_EQ(status, "Downloaded");
}

TEST_F(HttpTransfer, AServerThatIsNotThereIsANetworkError)
{
    auto request = test::MakeRequest("http://127.0.0.1:1/rfc-index.txt", folder.path(), asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "Ready");
    ASSERT_EQ(asker->asked().size(), 1u);
    EXPECT_EQ(asker->asked()[0].rfind("tell: ", 0), 0u);
    EXPECT_FALSE(PathExists(target()));
}

TEST_F(HttpTransfer, ATargetPresentIsReplacedKeptOrRenamedAsTheUserAnswered)
{
    test::WriteWholeFile(target(), "old");

    // Overwrite set: no question.
    download("/rfc-index.txt", true);
    EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
    EXPECT_TRUE(asker->asked().empty());

    // OK to the question replaces it.
    test::WriteWholeFile(target(), "old");
    asker->confirmations.push_back(true);
    download("/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), test::IndexBody());
    EXPECT_EQ(asker->asked(), Asked{"confirm: " + std::string(kOverwriteQuestion)});

    // Cancel, then a new name in the save dialog.
    test::WriteWholeFile(target(), "old");
    asker = std::make_shared<ScriptedAsker>();
    asker->savePaths.push_back(folder.path() + "renamed.txt");
    download("/rfc-index.txt");
    EXPECT_EQ(ReadWholeFile(target()), "old");
    EXPECT_EQ(ReadWholeFile(folder.path() + "renamed.txt"), test::IndexBody());
    EXPECT_EQ(ModificationTime(folder.path() + "renamed.txt"), test::kIndexModified);
    EXPECT_EQ(asker->asked(), (Asked{"confirm: " + std::string(kOverwriteQuestion), "save: " + target()}));
    EXPECT_EQ(status, "Downloaded");
}

TEST_F(HttpTransfer, DecliningBothQuestionsKeepsTheTemporaryFileUntilTheRequestGoes)
{
    test::WriteWholeFile(target(), "old");
    auto request = test::MakeRequest(url("/rfc-index.txt"), folder.path(), asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "Downloaded");
    EXPECT_EQ(ReadWholeFile(target()), "old");
    EXPECT_EQ(ReadWholeFile(request->tempFilePath()), test::IndexBody());
    EXPECT_EQ(asker->asked().size(), 2u);
    request.reset();
    EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
}

TEST_F(HttpTransfer, LocalFileFailuresAreFileErrors)
{
    // An address ending in "/" names the folder itself.
    download("/listing/");
    EXPECT_EQ(status, "File Error");
    ASSERT_EQ(asker->asked().size(), 1u);

    // A folder that does not exist: the temporary file cannot be made.
    asker = std::make_shared<ScriptedAsker>();
    auto request = test::MakeRequest(url("/rfc-index.txt"), folder.path() + "absent/", asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "File Error");
    ASSERT_EQ(asker->asked().size(), 1u);
    EXPECT_EQ(asker->asked()[0].rfind("tell: Couldn't open source file: ", 0), 0u);
}

TEST_F(HttpTransfer, AFullDiskEndsWithAFileErrorAndTheTargetUntouched)
{
    test::WriteWholeFile(target(), "old");
    // Files of this process may not grow beyond 4 KiB, as on a full disk.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    download("/rfc-index.txt", true);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status, "File Error");
    ASSERT_EQ(asker->asked().size(), 1u);
    EXPECT_EQ(asker->asked()[0].rfind("tell: Couldn't write the downloaded data: ", 0), 0u);
    EXPECT_EQ(ReadWholeFile(target()), "old");
}

TEST_F(HttpTransfer, OtherSchemesAreRefusedByTheWorker)
{
    auto request = test::MakeRequest("gopher://127.0.0.1/rfc-index.txt", folder.path(), asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "Invalid URL");
    EXPECT_EQ(asker->asked(), Asked{"tell: Invalid URL!"});
    EXPECT_FALSE(DownloadRunning);
}

} // namespace
} // namespace parchly
