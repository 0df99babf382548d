// FTP downloads from pyftpdlib and HTTPS downloads with a certificate the
// test makes, both on 127.0.0.1.
#include "download/download_request.h"
#include "download_fixture.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <utime.h>

namespace parchly {
namespace {

using test::ModificationTime;
using test::PathExists;
using test::ReadWholeFile;
using test::ScriptedAsker;
using Asked = std::vector<std::string>;

constexpr long long kServedModified = 1000000000;  // 2001-09-09

class FtpTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteWholeFile(served.path() + "rfc-index.txt", test::IndexBody());
        utimbuf times{kServedModified, kServedModified};
        ::utime((served.path() + "rfc-index.txt").c_str(), &times);
        if (!test::StartFtpServer(server, served.path()))
            GTEST_SKIP() << "pyftpdlib could not be started";
    }

    std::shared_ptr<DownloadRequest> download(const std::string& address)
    {
        auto request = test::MakeRequest(address, folder.path(), asker);
        test::RunHere(*request);
        return request;
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }

    test::ScratchFolder served;
    test::ScratchFolder folder;
    test::ServerProcess server;
    std::shared_ptr<ScriptedAsker> asker = std::make_shared<ScriptedAsker>();
};

TEST_F(FtpTransfer, AFileLandsWithItsLengthAndTime)
{
    // Written without a scheme, the address goes to FTP.
    for (const std::string& address : {"ftp://" + host() + "/rfc-index.txt", host() + "/rfc-index.txt"}) {
        SCOPED_TRACE(address);
        auto request = download(address);
        EXPECT_EQ(request->ServiceType, ServiceKind::Ftp);
        EXPECT_EQ(request->Status.get(), "Downloaded");
        EXPECT_EQ(request->TotalLength, test::IndexBody().size());
        EXPECT_EQ(request->RemoteTime, kServedModified);
        request.reset();
        EXPECT_EQ(ReadWholeFile(folder.path() + "rfc-index.txt"), test::IndexBody());
        EXPECT_EQ(ModificationTime(folder.path() + "rfc-index.txt"), kServedModified);
        EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
        std::remove((folder.path() + "rfc-index.txt").c_str());
    }
    EXPECT_TRUE(asker->asked().empty());
}

TEST_F(FtpTransfer, AMissingFileIsAConnectionFailureWithoutAMessage)
{
    auto request = download("ftp://" + host() + "/rfc9999.txt");
    EXPECT_EQ(request->Status.get(), "Connection Failed");
    EXPECT_EQ(request->TotalLength, 0u);
    EXPECT_TRUE(asker->asked().empty());
    request.reset();
    EXPECT_FALSE(PathExists(folder.path() + "rfc9999.txt"));
    EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
}

TEST_F(FtpTransfer, APresentTargetIsKeptWhenTheUserDeclinesBothQuestions)
{
    test::WriteWholeFile(folder.path() + "rfc-index.txt", "old");
    auto request = download("ftp://" + host() + "/rfc-index.txt");
    EXPECT_EQ(request->Status.get(), "Downloaded");
    EXPECT_EQ(asker->asked(), (Asked{"confirm: File already exists,\nclick OK if overwrite, click Cancel if rename.",
                                     "save: " + folder.path() + "rfc-index.txt"}));
    EXPECT_EQ(ReadWholeFile(request->tempFilePath()), test::IndexBody());
    request.reset();
    EXPECT_EQ(ReadWholeFile(folder.path() + "rfc-index.txt"), "old");
    EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
}

TEST(FtpTransferFailure, NoServerIsANetworkErrorWithItsText)
{
    test::ScratchFolder folder;
    auto asker = std::make_shared<ScriptedAsker>();
    auto request = test::MakeRequest("ftp://127.0.0.1:1/rfc-index.txt", folder.path(), asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "Network Error");
    ASSERT_EQ(asker->asked().size(), 1u);
    EXPECT_GT(asker->asked()[0].size(), std::string("tell: ").size());
}

class HttpsTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::StartHttpServer(server, certificates.path()))
            GTEST_SKIP() << "the test HTTPS server could not be started";
    }

    std::string url(const std::string& path) const
    {
        return "https://127.0.0.1:" + std::to_string(server.port()) + path;
    }

    test::ScratchFolder certificates;
    test::ScratchFolder folder;
    test::ServerProcess server;
    std::shared_ptr<ScriptedAsker> asker = std::make_shared<ScriptedAsker>();
};

TEST_F(HttpsTransfer, ATrustedCertificateDownloadsAlsoThroughARedirect)
{
    for (const char* path : {"/rfc-index.txt", "/redirect/302/rfc-index.txt"}) {
        SCOPED_TRACE(path);
        auto request = test::MakeRequest(url(path), folder.path(), asker);
        request->CaFile = certificates.path() + "cert.pem";
        request->Overwrite = true;
        test::RunHere(*request);
        EXPECT_EQ(request->Status.get(), "Downloaded");
        request.reset();
        EXPECT_EQ(ReadWholeFile(folder.path() + "rfc-index.txt"), test::IndexBody());
        EXPECT_EQ(ModificationTime(folder.path() + "rfc-index.txt"), test::kIndexModified);
        EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
    }
    EXPECT_TRUE(asker->asked().empty());
}

TEST_F(HttpsTransfer, AnUntrustedCertificateIsRefused)
{
    auto request = test::MakeRequest(url("/rfc-index.txt"), folder.path(), asker);
    test::RunHere(*request);
    EXPECT_EQ(request->Status.get(), "Ready");
    ASSERT_EQ(asker->asked().size(), 1u);
    EXPECT_NE(asker->asked()[0].find("certificate"), std::string::npos) << asker->asked()[0];
    request.reset();
    EXPECT_FALSE(PathExists(folder.path() + "rfc-index.txt"));
    EXPECT_FALSE(PathExists(folder.path() + "PRCHTEMP.000"));
}

} // namespace
} // namespace parchly
