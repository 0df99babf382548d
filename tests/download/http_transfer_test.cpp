// HTTP downloads against the test server: what lands, with which time and
// status, and what the user was asked.
#include "download/download_transfer.h"
#include "download_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace parchly {
namespace {

using test::modificationTime;
using test::pathExists;
using test::readFile;
using test::writeFile;
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
    static void TearDownTestSuite() { delete server; }
    void SetUp() override
    {
        if (!server)
            GTEST_SKIP() << "the test HTTP server could not be started";
    }

    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server->port()) + path;
    }

    // Downloads `path` into the folder with a fresh asker and destroys the
    // request, which must leave no temporary file behind.
    void download(const std::string& path, bool overwrite = false)
    {
        asker = std::make_shared<test::ScriptedAsker>();
        asker->logins = logins;
        auto request = test::makeRequest(url(path), dir, asker);
        request->overwrite = overwrite;
        test::runHere(*request);
        status = request->status.get();
        request.reset();
        EXPECT_FALSE(pathExists(dir + "PRCHTEMP.000")) << "left behind by " << path;
    }

    static inline test::ServerProcess* server = nullptr;
    test::TempFolder folder;
    const std::string dir = folder.file("");
    const std::string target = folder.file("rfc-index.txt");
    std::deque<std::pair<std::string, std::string>> logins;
    std::shared_ptr<test::ScriptedAsker> asker = std::make_shared<test::ScriptedAsker>();
    std::string status;
};

// Every case replaces a present target with Overwrite set; what is not
// downloaded leaves it as it was.
TEST_F(HttpTransfer, EachAnswerOfTheServerLandsOrLeavesTheTargetAlone)
{
    const std::string index = test::indexBody();
    const std::string noRedirect = "tell: The redirection could not be followed.";
    const std::string credentials = "credentials: 127.0.0.1";
    struct Case {
        const char* path;
        const char* password; // the user's answer to a 401; null: declined
        std::optional<std::string> landed;
        long long modified; // 0: not checked
        const char* status;
        Asked asked;
    };
    const Case cases[] = {
        {"/rfc-index.txt", nullptr, index, test::kIndexModified, "Downloaded", {}},
        {"/nolength/rfc-index.txt", nullptr, index, 0, "Downloaded", {}},
        {"/empty/rfc-index.txt", nullptr, "", 0, "Downloaded", {}},
        {"/excess/rfc-index.txt", nullptr, "0123456789", 0, "Downloaded", {}},
        // One redirect is followed, also to a relative address.
        {"/redirect/301/rfc-index.txt", nullptr, index, test::kIndexModified, "Downloaded", {}},
        {"/redirect/303/rfc-index.txt", nullptr, index, test::kIndexModified, "Downloaded", {}},
        {"/relative/rfc-index.txt", nullptr, index, test::kIndexModified, "Downloaded", {}},
        {"/twohops/rfc-index.txt", nullptr, std::nullopt, 0, "Ready", {noRedirect}},
        {"/toftp/rfc-index.txt", nullptr, std::nullopt, 0, "Ready", {noRedirect}},
        {"/nolocation/rfc-index.txt", nullptr, std::nullopt, 0, "Ready", {noRedirect}},
        {"/tomissing/rfc-index.txt", nullptr, std::nullopt, 0, "Ready", {noRedirect}},
        // An error page is never saved.
        {"/missing/rfc-index.txt",
         nullptr,
         std::nullopt,
         0,
         "Connection Failed",
         {"tell: The server answered with status 404; nothing was saved."}},
        // A 401 is retried once with what the user gives.
        {"/private/rfc-index.txt", "secret", index, 0, "Downloaded", {credentials}},
        {"/private/rfc-index.txt",
         nullptr,
         std::nullopt,
         0,
         "Ready",
         {credentials, "tell: Authentication failed."}},
        {"/private/rfc-index.txt",
         "wrong",
         std::nullopt,
         0,
         "Connection Failed",
         {credentials, "tell: The server answered with status 401; nothing was saved."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + (c.password ? c.password : "-"));
        writeFile(target, "old");
        logins.clear();
        if (c.password)
            logins.push_back({"reader", c.password});
        download(c.path, true);
        EXPECT_EQ(readFile(target), c.landed.value_or("old"));
        if (c.modified) {
            EXPECT_EQ(modificationTime(target), c.modified);
        }
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(asker->asked, c.asked);
    }
}

TEST_F(HttpTransfer, SendsItsOwnAcceptAndAgentHeaders)
{
    download("/headers/echo.txt");
    const std::string echoed = readFile(dir + "echo.txt");
    EXPECT_NE(echoed.find("Accept: */*\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("User-Agent: Parchly\n"), std::string::npos) << echoed;
}

TEST_F(HttpTransfer, APresentTargetIsReplacedOrRenamedAsTheUserAnswered)
{
    const Asked question{"confirm: " + std::string(kOverwriteQuestion)};
    writeFile(target, "old");
    auto request =
        test::makeRequest(url("/rfc-index.txt"), dir, asker = std::make_shared<test::ScriptedAsker>());
    asker->confirmations.push_back(true);
    test::runHere(*request);
    EXPECT_EQ(readFile(target), test::indexBody());
    EXPECT_EQ(asker->asked, question);

    // Cancel, then a new name in the save dialog.
    writeFile(target, "old");
    request = test::makeRequest(url("/rfc-index.txt"), dir, asker = std::make_shared<test::ScriptedAsker>());
    asker->savePaths.push_back(dir + "renamed.txt");
    test::runHere(*request);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(readFile(dir + "renamed.txt"), test::indexBody());
    EXPECT_EQ(modificationTime(dir + "renamed.txt"), test::kIndexModified);
    EXPECT_EQ(asker->asked, (Asked{question[0], "save: " + target}));
}

TEST_F(HttpTransfer, LocalFileFailuresAreFileErrorsAndAFullDiskLeavesTheTarget)
{
    // An address ending in "/" names the folder itself.
    download("/listing/");
    EXPECT_EQ(status, "File Error");
    EXPECT_EQ(asker->asked.size(), 1u);

    // A folder that does not exist: the temporary file cannot be made.
    asker = std::make_shared<test::ScriptedAsker>();
    auto request = test::makeRequest(url("/rfc-index.txt"), dir + "absent/", asker);
    test::runHere(*request);
    EXPECT_EQ(request->status.get(), "File Error");
    ASSERT_EQ(asker->asked.size(), 1u);
    EXPECT_EQ(asker->asked[0].rfind("tell: Couldn't open source file: ", 0), 0u);

    // Files of this process may not grow beyond 4 KiB, as on a full disk.
    writeFile(target, "old");
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
    ASSERT_EQ(asker->asked.size(), 1u);
    EXPECT_EQ(asker->asked[0].rfind("tell: Couldn't write the downloaded data: ", 0), 0u);
    EXPECT_EQ(readFile(target), "old");
}

TEST_F(HttpTransfer, NoServerAndOtherSchemesSaveNothing)
{
    auto request = test::makeRequest("http://127.0.0.1:1/rfc-index.txt", dir, asker);
    test::runHere(*request);
    EXPECT_EQ(request->status.get(), "Ready");
    ASSERT_EQ(asker->asked.size(), 1u);
    EXPECT_EQ(asker->asked[0].rfind("tell: ", 0), 0u);

    asker = std::make_shared<test::ScriptedAsker>();
    request = test::makeRequest("gopher://127.0.0.1/rfc-index.txt", dir, asker);
    test::runHere(*request);
    EXPECT_EQ(request->status.get(), "Invalid URL");
    EXPECT_EQ(asker->asked, Asked{"tell: Invalid URL!"});
    EXPECT_FALSE(request->running);
    EXPECT_FALSE(pathExists(target));
}

} // namespace
} // namespace parchly
