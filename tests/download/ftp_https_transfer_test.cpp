// FTP downloads from pyftpdlib and HTTPS downloads with a certificate the
// test makes, both on 127.0.0.1.
#include "download_test_support.h"

#include <gtest/gtest.h>

#include <utime.h>

namespace parchly {
namespace {

using test::modificationTime;
using test::pathExists;
using test::readFile;
using Asked = std::vector<std::string>;

constexpr long long kServedModified = 1000000000; // 2001-09-09

// Runs `address` into `dir` and checks that the request, once gone, left no
// temporary file; gives the status.
std::string download(const std::string& address, const std::string& dir,
                     const std::shared_ptr<test::ScriptedAsker>& asker, const std::string& caFile = {})
{
    auto request = test::makeRequest(address, dir, asker);
    request->caFile = caFile;
    test::runHere(*request);
    const std::string status = request->status.get();
    // A rename the user cancelled leaves no temporary file behind, at once.
    if (status == "Not saved") {
        EXPECT_FALSE(pathExists(request->tempFilePath()));
    }
    request.reset();
    EXPECT_FALSE(pathExists(dir + "PRCHTEMP.000"));
    return status;
}

TEST(FtpTransfer, FilesLandWithTheirTimeAPresentOneIsKeptWhenBothQuestionsAreDeclined)
{
    test::TempFolder served, folder;
    const std::string dir = folder.file(""), target = folder.file("rfc-index.txt");
    test::writeFile(served.file("rfc-index.txt"), test::indexBody());
    utimbuf times{kServedModified, kServedModified};
    ::utime(served.file("rfc-index.txt").c_str(), &times);
    test::ServerProcess server;
    if (!test::StartFtpServer(server, served.path().string()))
        GTEST_SKIP() << "pyftpdlib could not be started";
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    auto asker = std::make_shared<test::ScriptedAsker>();

    // Written without a scheme, the address goes to FTP.
    for (const std::string& address : {"ftp://" + host + "/rfc-index.txt", host + "/rfc-index.txt"}) {
        SCOPED_TRACE(address);
        std::remove(target.c_str());
        EXPECT_EQ(download(address, dir, asker), "Downloaded");
        EXPECT_EQ(readFile(target), test::indexBody());
        EXPECT_EQ(modificationTime(target), kServedModified);
    }
    EXPECT_TRUE(asker->asked.empty());

    EXPECT_EQ(download("ftp://" + host + "/rfc9999.txt", dir, asker), "Connection Failed");
    EXPECT_FALSE(pathExists(dir + "rfc9999.txt"));
    EXPECT_TRUE(asker->asked.empty());

    test::writeFile(target, "old");
    EXPECT_EQ(download("ftp://" + host + "/rfc-index.txt", dir, asker), "Not saved");
    EXPECT_EQ(asker->asked,
              (Asked{"confirm: File already exists,\nclick OK if overwrite, click Cancel if rename.",
                     "save: " + target}));
    EXPECT_EQ(readFile(target), "old");

    asker = std::make_shared<test::ScriptedAsker>();
    EXPECT_EQ(download("ftp://127.0.0.1:1/rfc-index.txt", dir, asker), "Network Error");
    ASSERT_EQ(asker->asked.size(), 1u);
    EXPECT_GT(asker->asked[0].size(), std::string("tell: ").size());
}

TEST(HttpsTransfer, ATrustedCertificateDownloadsAlsoThroughARedirectAnUntrustedOneIsRefused)
{
    test::TempFolder certificates, folder;
    const std::string dir = folder.file(""), target = folder.file("rfc-index.txt");
    test::ServerProcess server;
    if (!test::StartHttpServer(server, certificates.path().string()))
        GTEST_SKIP() << "the test HTTPS server could not be started";
    const std::string origin = "https://127.0.0.1:" + std::to_string(server.port());
    auto asker = std::make_shared<test::ScriptedAsker>();

    EXPECT_EQ(download(origin + "/rfc-index.txt", dir, asker), "Ready");
    ASSERT_EQ(asker->asked.size(), 1u);
    EXPECT_NE(asker->asked[0].find("certificate"), std::string::npos) << asker->asked[0];
    EXPECT_FALSE(pathExists(target));

    asker = std::make_shared<test::ScriptedAsker>();
    for (const char* path : {"/rfc-index.txt", "/redirect/302/rfc-index.txt"}) {
        SCOPED_TRACE(path);
        std::remove(target.c_str());
        EXPECT_EQ(download(origin + path, dir, asker, certificates.file("cert.pem")), "Downloaded");
        EXPECT_EQ(readFile(target), test::indexBody());
        EXPECT_EQ(modificationTime(target), test::kIndexModified);
    }
    EXPECT_TRUE(asker->asked.empty());
}

} // namespace
} // namespace parchly
