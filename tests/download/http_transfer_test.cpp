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

    // Downloads `address` (a path on the test server, or a whole address)
    // into `into`, answering from `asker`'s script, then starts a fresh one;
    // the request is destroyed and must leave no temporary file behind.
    void download(const std::string& address, bool overwrite = false, const std::string& into = {})
    {
        answered = asker;
        asker = std::make_shared<test::ScriptedAsker>();
        const bool onServer = address[0] == '/';
        auto request = test::makeRequest(
            onServer ? "http://127.0.0.1:" + std::to_string(server->port()) + address : address,
            into.empty() ? dir : into, answered);
        request->overwrite = overwrite;
        test::runHere(*request);
        status = request->status.get();
        EXPECT_FALSE(request->running);
        request.reset();
        EXPECT_FALSE(pathExists(dir + "PRCHTEMP.000")) << "left behind by " << address;
    }

    static inline test::ServerProcess* server = nullptr;
    test::TempFolder folder;
    const std::string dir = folder.file("");
    const std::string target = folder.file("rfc-index.txt");
    // The next download's answers, and the asker of the last one.
    std::shared_ptr<test::ScriptedAsker> asker = std::make_shared<test::ScriptedAsker>(), answered;
    std::string status;
};

// Every case replaces a present target with Overwrite set; what is not
// downloaded leaves it as it was.
TEST_F(HttpTransfer, EachAnswerOfTheServerLandsOrLeavesTheTargetAlone)
{
    const std::string index = test::indexBody();
    const std::string noRedirect = "tell: The redirection could not be followed.";
    const std::string login = "credentials: 127.0.0.1";
    const std::string failed = "tell: The server answered with status ";
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
        {"/missing/rfc-index.txt", nullptr, {}, 0, "Connection Failed", {failed + "404; nothing was saved."}},
        // A 401 is retried once with what the user gives.
        {"/private/rfc-index.txt", "secret", index, 0, "Downloaded", {login}},
        {"/private/rfc-index.txt", nullptr, {}, 0, "Ready", {login, "tell: Authentication failed."}},
        {"/private/rfc-index.txt",
         "wrong",
         {},
         0,
         "Connection Failed",
         {login, failed + "401; nothing was saved."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + (c.password ? c.password : "-"));
        writeFile(target, "old");
        if (c.password)
            asker->logins.push_back({"reader", c.password});
        download(c.path, true);
        EXPECT_EQ(readFile(target), c.landed.value_or("old"));
        if (c.modified) {
            EXPECT_EQ(modificationTime(target), c.modified);
        }
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(answered->asked, c.asked);
    }

    download("/headers/echo.txt");
    const std::string echoed = readFile(dir + "echo.txt");
    EXPECT_NE(echoed.find("Accept: */*\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("User-Agent: Parchly\n"), std::string::npos) << echoed;
}

TEST_F(HttpTransfer, APresentTargetIsReplacedOrRenamedAsTheUserAnswered)
{
    const Asked question{"confirm: " + std::string(kOverwriteQuestion)};
    writeFile(target, "old");
    asker->confirmations = {true};
    download("/rfc-index.txt");
    EXPECT_EQ(readFile(target), test::indexBody());
    EXPECT_EQ(answered->asked, question);

    // Cancel, then a new name in the save dialog.
    writeFile(target, "old");
    asker->savePaths = {dir + "renamed.txt"};
    download("/rfc-index.txt");
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(readFile(dir + "renamed.txt"), test::indexBody());
    EXPECT_EQ(modificationTime(dir + "renamed.txt"), test::kIndexModified);
    EXPECT_EQ(answered->asked, (Asked{question[0], "save: " + target}));
}

// Local file failures are file errors, a full disk leaves the target, and a
// missing server saves nothing; each says why.
TEST_F(HttpTransfer, FailuresSaveNothingAndSayWhy)
{
    const struct {
        const char *address, *into, *status, *told;
    } cases[] = {
        // An address ending in "/" names the folder itself.
        {"/listing/", "", "File Error", "tell: "},
        // A folder that does not exist: the temporary file cannot be made.
        {"/rfc-index.txt", "absent/", "File Error", "tell: Couldn't open source file: "},
        {"http://127.0.0.1:1/rfc-index.txt", "", "Ready", "tell: "},
    };
    for (const auto& c : cases) {
        download(c.address, false, dir + c.into);
        EXPECT_EQ(status, c.status) << c.address;
        ASSERT_EQ(answered->asked.size(), 1u) << c.address;
        EXPECT_EQ(answered->asked[0].rfind(c.told, 0), 0u) << answered->asked[0];
    }
    EXPECT_FALSE(pathExists(target));

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
    ASSERT_EQ(answered->asked.size(), 1u);
    EXPECT_EQ(answered->asked[0].rfind("tell: Couldn't write the downloaded data: ", 0), 0u);
    EXPECT_EQ(readFile(target), "old");
}

} // namespace
} // namespace parchly
