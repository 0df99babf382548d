// Fetching errata.json into the RFC folder without a window, against the
// local HTTP test server: only a download that reads whole as an errata
// database replaces the file there, and whatever goes wrong leaves the old
// file and no temporary file behind.
#include "download/errata_download.h"
#include "download_test_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

using namespace test;

const char kOldErrata[] = R"([{"errata_id": "1", "doc-id": "RFC1"}])";
const char kNewErrata[] = R"([{"errata_id": "1", "doc-id": "RFC1"}, {"errata_id": "2", "doc-id": "RFC2"}])";

class ErrataDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        served.write("errata.json", kNewErrata);
        served.write("page.json", "<html>502 Bad Gateway</html>");
        served.write("cut.json", std::string(kNewErrata).substr(0, 60));
        served.write("none.json", "[]");
        if (!server.start(
                {"/usr/bin/python3", PARCHLY_DOWNLOAD_TEST_SERVER, "--root", served.path().string()},
                "PORT "))
            GTEST_SKIP() << "the test HTTP server cannot run";
        local.write("errata.json", kOldErrata);
    }
    std::string address(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server.port()) + path;
    }
    ErrataDownload download(const std::string& path)
    {
        return downloadErrataFile(address(path), local.path().string(), FetchOptions(), cancel);
    }

    TempFolder served;
    TempFolder local;
    ServerProcess server;
    std::atomic<bool> cancel{false};
};

TEST_F(ErrataDownloadTest, AWholeDatabaseReplacesTheLocalOne)
{
    const ErrataDownload result = download("/files/errata.json");
    EXPECT_TRUE(result.saved) << result.error;
    EXPECT_EQ(result.errataCount, 2u);
    EXPECT_EQ(readFile(local.file("errata.json")), kNewErrata);
    EXPECT_EQ(namesIn(local.path()), std::set<std::string>{"errata.json"});
}

// Saved as errata.json whatever the address calls the file: that is the
// name the reader looks for.
TEST_F(ErrataDownloadTest, SavedUnderTheNameTheReaderLooksFor)
{
    served.write("errata-2026-08.json", kNewErrata);
    EXPECT_TRUE(download("/files/errata-2026-08.json").saved);
    EXPECT_EQ(namesIn(local.path()), std::set<std::string>{"errata.json"});
}

TEST_F(ErrataDownloadTest, WhatIsNoWholeDatabaseLeavesTheLocalOneAndSaysWhy)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/files/page.json", "not a JSON file"},
        {"/files/cut.json", "cut short"},
        {"/files/none.json", "holds no errata"},
        {"/files/missing.json", "status 404"},
    };
    for (const auto& [path, problem] : cases) {
        SCOPED_TRACE(path);
        const ErrataDownload result = download(path);
        EXPECT_FALSE(result.saved);
        EXPECT_NE(result.error.find(problem), std::string::npos) << result.error;
        EXPECT_EQ(readFile(local.file("errata.json")), kOldErrata);
        EXPECT_EQ(namesIn(local.path()), std::set<std::string>{"errata.json"});
    }
}

TEST_F(ErrataDownloadTest, CancelLeavesTheLocalOneWithoutAMessage)
{
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel = true;
    });
    const ErrataDownload result = download("/slow/large.bin");
    stopper.join();
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(readFile(local.file("errata.json")), kOldErrata);
    EXPECT_EQ(namesIn(local.path()), std::set<std::string>{"errata.json"});
}

TEST(ErrataDownload, WithoutAnAddressNothingIsFetched)
{
    const TempFolder local;
    const std::atomic<bool> cancel{false};
    const ErrataDownload result = downloadErrataFile("", local.path().string(), FetchOptions(), cancel);
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.error.find("No address"), std::string::npos);
}

} // namespace
} // namespace parchly
