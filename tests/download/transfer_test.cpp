// Address parsing: the parts the transfer uses and the addresses refused.
// Downloads on the worker against test servers on 127.0.0.1 (HTTP and
// HTTPS of our own, FTP from pyftpdlib): what lands, with which time and
// status, what the user was asked, and a cancel while the copy runs.
#include "download/download_transfer.h"
#include "download/download_url.h"
#include "download_test_support.h"
#include "support/file_faults.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utime.h>

namespace parchly {
namespace {

using namespace test;
using Asked = std::vector<std::string>;
using std::filesystem::exists;

// Runs `address` into `dir` with `asker`'s answers on this thread; gives the
// status. The request, once gone, must leave no temporary file behind.
std::string download(const std::string& address, const std::string& dir, ScriptedAsker& asker,
                     bool overwrite = false, const std::string& caFile = {}, DownloadKind kind = IndexFile,
                     std::function<std::string(const std::string&)> check = {})
{
    auto request = std::make_shared<DownloadRequest>();
    request->url = address;
    request->localFolder = dir;
    // The request goes before this function returns; the asker stays the caller's.
    request->asker = std::shared_ptr<DownloadAsker>(&asker, [](DownloadAsker*) {});
    request->overwrite = overwrite;
    request->caFile = caFile;
    request->kind = kind;
    request->checkDownloaded = std::move(check);
    request->running = true;
    runDownload(*request);
    EXPECT_FALSE(request->running);
    const std::string status = request->status.get();
    request.reset();
    EXPECT_FALSE(exists(dir + "PRCHTEMP.000")) << "left behind by " << address;
    return status;
}

class HttpTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!StartHttpServer(server))
            GTEST_SKIP() << "the test HTTP server could not be started";
    }
    std::string served(const std::string& path) const
    {
        return path[0] == '/' ? "http://127.0.0.1:" + std::to_string(server.port()) + path : path;
    }

    ServerProcess server;
    TempFolder folder;
    const std::string dir = folder.file("");
    const std::string target = folder.file("rfc-index.txt");
};

// Each case of download/http-answers.txt, named by its title.
class HttpAnswers : public HttpTransfer, public ::testing::WithParamInterface<FixtureCase> { };

// A pyftpdlib server over a folder holding the index (with a time of its
// own) and a collection archive.
class FtpTransfer : public ::testing::Test {
protected:
    static constexpr long long kServedModified = 1000000000; // 2001-09-09

    void SetUp() override
    {
        writeFile(served.file("rfc-index.txt"), indexBody());
        utimbuf times{kServedModified, kServedModified};
        ::utime(served.file("rfc-index.txt").c_str(), &times);
        ASSERT_TRUE(writeArchive(served.file("RFC-all.zip"), ArchiveFormat::Zip,
                                 {{"rfc2068.txt", "RFC 2068"}, {"rfc-index.txt", "the index"}}));
        ASSERT_TRUE(writeArchive(served.file("RFC-one.zip"), ArchiveFormat::Zip, {{"rfc1.txt", "RFC 1"}}));
        if (!StartFtpServer(server, served.path().string()))
            GTEST_SKIP() << "pyftpdlib could not be started";
        host = "127.0.0.1:" + std::to_string(server.port());
    }

    TempFolder served, folder;
    const std::string dir = folder.file(""), target = folder.file("rfc-index.txt");
    ServerProcess server;
    std::string host;
    ScriptedAsker asker;
};

TEST(UrlParsing, FillsTheAddressParts)
{
    const std::map<std::string, ServiceKind> services = {
        {"http", ServiceKind::Http}, {"https", ServiceKind::Https}, {"ftp", ServiceKind::Ftp}};
    for (const FixtureCase& c : readFixtureCases("download/address-parts.txt")) {
        SCOPED_TRACE(c.title);
        DownloadRequest request;
        request.url = c["url"];
        ASSERT_TRUE(parseDownloadUrl(request));
        EXPECT_EQ(
            std::tie(request.serviceType, request.server, request.port, request.objectPath),
            std::make_tuple(services.at(c["service"]), c["server"], uint16_t(c.number("port")), c["path"]));
        EXPECT_EQ(request.url, c["url"]); // the local name comes from it as written
        if (request.port == 80) {
            EXPECT_EQ(transferUrl(request), "http://127.0.0.1:80" + c["path"]);
        }
    }
}

// libcurl gives the host back percent-decoded: built into the transfer
// address it would be decoded again (or read as a number) and another host
// fetched than the one shown. Such addresses are refused before any
// connection, as is what no form parses.
TEST(UrlParsing, RefusesWhatNoFormParsesAndHostsThatWouldChange)
{
    for (const FixtureCase& c : readFixtureCases("download/refused-addresses.txt")) {
        SCOPED_TRACE(c.title);
        const std::string &url = c["url"], &told = c["told"];
        auto asker = std::make_shared<ScriptedAsker>();
        DownloadRequest request;
        request.asker = asker;
        request.url = url;
        EXPECT_FALSE(parseDownloadUrl(request));
        EXPECT_EQ(request.status.get(), "Invalid URL");
        ASSERT_EQ(asker->asked.size(), 1u);
        EXPECT_NE(asker->asked[0].find(told), std::string::npos) << asker->asked[0];
    }
}

TEST(UrlParsing, EveryAcceptedAddressReparsesToThePartsShown)
{
    for (const char* url : {"http://[::1]:8080/x", "http://127.0.0.1/a%20b",
                            "https://www.rfc-editor.org/x?y=%41", "http://510/x"}) {
        SCOPED_TRACE(url);
        DownloadRequest request;
        request.url = url;
        ASSERT_TRUE(parseDownloadUrl(request));
        const ParsedUrl again = parseUrlParts(transferUrl(request));
        ASSERT_TRUE(again.parts);
        EXPECT_EQ(std::tie(again.parts->server, again.parts->port, again.parts->objectPath),
                  std::tie(request.server, request.port, request.objectPath));
    }
}

// Every case replaces a present target with Overwrite set; what is not
// downloaded (a redirect that cannot be followed, an error page, a refused
// login) leaves it as it was. One redirect is followed, also to a relative
// address; a 401 is retried once with what the user gives. A file that lands
// has the server's time, also through a redirect.
TEST_P(HttpAnswers, TheTargetIsWhatTheAnswerLeaves)
{
    const FixtureCase& c = GetParam();
    writeFile(target, "old");
    ScriptedAsker asker;
    if (c.parts.count("password"))
        asker.logins.push_back({"reader", c["password"]});
    EXPECT_EQ(download(served(c["path"]), dir, asker, true), c["status"]);
    const std::string landed = c.parts.count("landed") ? c["landed"] : "old";
    EXPECT_EQ(readFile(target), landed == "index" ? indexBody() : landed);
    if (c.number("timed")) {
        EXPECT_EQ(modificationTime(target), kIndexModified);
    }
    EXPECT_EQ(asker.asked, c.items("asked"));
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpAnswers,
                         ::testing::ValuesIn(readFixtureCases("download/http-answers.txt")), caseName);

TEST_F(HttpTransfer, EveryRequestAcceptsAnythingAndNamesTheProgram)
{
    ScriptedAsker asker;
    download(served("/headers/echo.txt"), dir, asker);
    const std::string echoed = readFile(dir + "echo.txt");
    EXPECT_NE(echoed.find("Accept: */*\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("User-Agent: Parchly\n"), std::string::npos) << echoed;
}

// A download its check refuses (an errata database that does not read)
// leaves the file it would replace as it was, and says why; one the check
// accepts lands.
TEST_F(HttpTransfer, ACheckedDownloadReplacesTheTargetOnlyWhenTheCheckAccepts)
{
    for (const bool accepted : {false, true}) {
        SCOPED_TRACE(accepted ? "accepted" : "refused");
        writeFile(target, "old");
        ScriptedAsker asker;
        std::string checked;
        const auto check = [&](const std::string& path) {
            checked = readFile(path);
            return accepted ? std::string() : std::string("it is not an errata file.");
        };
        EXPECT_EQ(download(served("/rfc-index.txt"), dir, asker, true, {}, IndexFile, check),
                  accepted ? "Downloaded" : "Not saved");
        EXPECT_EQ(checked, indexBody());
        EXPECT_EQ(readFile(target), accepted ? indexBody() : "old");
        EXPECT_EQ(asker.asked,
                  accepted ? Asked{} : Asked{"tell: The download was not saved: it is not an errata file."});
    }
}

// Local file failures are file errors, a full disk leaves the target, and a
// missing server saves nothing; each says why.
TEST_F(HttpTransfer, FailuresSaveNothingAndSayWhy)
{
    const struct {
        const char *address, *into, *status, *told;
        rlim_t fileLimit; // 0: none
    } cases[] = {
        // An address ending in "/" names the folder itself.
        {"/listing/", "", "File Error", "tell: ", 0},
        // A folder that does not exist: the temporary file cannot be made.
        {"/rfc-index.txt", "absent/", "File Error", "tell: Couldn't open source file: ", 0},
        {"http://127.0.0.1:1/rfc-index.txt", "", "Ready", "tell: ", 0},
        // Files of this process may not grow beyond 4 KiB, as on a full disk.
        {"/rfc-index.txt", "", "File Error", "tell: Couldn't write the downloaded data: ", 4096},
    };
    writeFile(target, "old");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        ScriptedAsker asker;
        std::optional<FileSizeLimit> full;
        if (c.fileLimit)
            full.emplace(c.fileLimit);
        const std::string status = download(served(c.address), dir + c.into, asker, true);
        full.reset();
        EXPECT_EQ(status, c.status);
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_EQ(asker.asked[0].rfind(c.told, 0), 0u) << asker.asked[0];
        EXPECT_EQ(readFile(target), "old");
    }
}

// Starts the slow 32 MiB body (20 s at the server's pace), lets its copy
// run, cancels it and lets go of the request at once, as the dialog does
// when it closes; the worker keeps the request until it returns.
TEST_F(HttpTransfer, ACancelStopsTheCopyAtOnceAndLeavesTheTargetAlone)
{
    writeFile(folder.file("large.bin"), "old");
    auto asker = std::make_shared<ScriptedAsker>();
    auto request = std::make_shared<DownloadRequest>();
    request->url = served("/slow/large.bin");
    request->localFolder = dir;
    request->asker = asker;
    ASSERT_TRUE(startDownload(request));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (request->received <= 100000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(request->received, 100000u);
    EXPECT_EQ(request->status.get(), "Downloading");
    EXPECT_NE(request->startTime, 0);
    EXPECT_EQ(request->totalLength, 32u * 1024 * 1024);
    EXPECT_FALSE(startDownload(request)) << "one worker per request";

    std::shared_future<void> worker = request->worker;
    parchly::cancelDownload(*request);
    request.reset();
    ASSERT_EQ(worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(exists(folder.file("PRCHTEMP.000")));
    EXPECT_EQ(readFile(folder.file("large.bin")), "old");
    EXPECT_TRUE(asker->asked.empty());
}

// Written without a scheme, the address goes to FTP.
TEST_F(FtpTransfer, AnAddressWithoutASchemeLandsWithTheServersTime)
{
    EXPECT_EQ(download(host + "/rfc-index.txt", dir, asker), "Downloaded");
    EXPECT_EQ(readFile(target), indexBody());
    EXPECT_EQ(modificationTime(target), kServedModified);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(FtpTransfer, AMissingFileFailsAndLeavesNothing)
{
    EXPECT_EQ(download("ftp://" + host + "/rfc9999.txt", dir, asker), "Connection Failed");
    EXPECT_FALSE(exists(dir + "rfc9999.txt"));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(FtpTransfer, APresentFileIsKeptWhenBothQuestionsAreDeclined)
{
    writeFile(target, "old");
    EXPECT_EQ(download("ftp://" + host + "/rfc-index.txt", dir, asker), "Not saved");
    EXPECT_EQ(asker.asked, (Asked{"confirm: " + std::string(kOverwriteQuestion), "save: " + target}));
    EXPECT_EQ(readFile(target), "old");
}

// A collection is unpacked into the folder, where links look for RFCs.
TEST_F(FtpTransfer, ACollectionIsUnpackedIntoTheFolder)
{
    TempFolder rfcs;
    EXPECT_EQ(download("ftp://" + host + "/RFC-all.zip", rfcs.file(""), asker, false, {}, Collection),
              "Unpacked 2 files");
    EXPECT_EQ(namesIn(rfcs.path()), (std::set<std::string>{"rfc-index.txt", "rfc2068.txt"}));
}

TEST_F(FtpTransfer, ACollectionOfOneFileSaysSoInTheSingular)
{
    TempFolder rfcs;
    EXPECT_EQ(download("ftp://" + host + "/RFC-one.zip", rfcs.file(""), asker, false, {}, Collection),
              "Unpacked 1 file");
}

TEST_F(FtpTransfer, NoServerIsANetworkErrorThatIsTold)
{
    EXPECT_EQ(download("ftp://127.0.0.1:1/rfc-index.txt", dir, asker), "Network Error");
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_GT(asker.asked[0].size(), std::string("tell: ").size());
}

TEST(HttpsTransfer, ATrustedCertificateDownloadsAlsoThroughARedirectAnUntrustedOneIsRefused)
{
    TempFolder certificates, folder;
    const std::string dir = folder.file(""), target = folder.file("rfc-index.txt");
    ServerProcess server;
    if (!StartHttpServer(server, certificates.path().string()))
        GTEST_SKIP() << "the test HTTPS server could not be started";
    const std::string origin = "https://127.0.0.1:" + std::to_string(server.port());
    ScriptedAsker asker;

    EXPECT_EQ(download(origin + "/rfc-index.txt", dir, asker), "Ready");
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_NE(asker.asked[0].find("certificate"), std::string::npos) << asker.asked[0];
    EXPECT_FALSE(exists(target));

    asker.asked.clear();
    for (const char* path : {"/rfc-index.txt", "/redirect/302/rfc-index.txt"}) {
        SCOPED_TRACE(path);
        std::remove(target.c_str());
        EXPECT_EQ(download(origin + path, dir, asker, false, certificates.file("cert.pem")), "Downloaded");
        EXPECT_EQ(readFile(target), indexBody());
        EXPECT_EQ(modificationTime(target), kIndexModified);
    }
    EXPECT_TRUE(asker.asked.empty());
}

} // namespace
} // namespace parchly
