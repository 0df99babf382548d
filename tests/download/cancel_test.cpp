// Cancelling a running download on its worker thread, and the request
// outliving the dialog that started it.
#include "download_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace parchly {
namespace {

using Clock = std::chrono::steady_clock;

class Cancelling : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::StartHttpServer(server))
            GTEST_SKIP() << "the test HTTP server could not be started";
        test::writeFile(folder.file("large.bin"), "old");
    }

    std::shared_ptr<DownloadRequest> start(const std::string& path)
    {
        auto request = test::makeRequest("http://127.0.0.1:" + std::to_string(server.port()) + path,
                                         folder.file(""), asker);
        startDownload(request);
        return request;
    }

    // Starts the slow 32 MiB body (20 s at the server's pace) and waits
    // (at most 10 s) until its copy runs.
    std::shared_ptr<DownloadRequest> startSlowDownload()
    {
        auto request = start("/slow/large.bin");
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (request->received <= 100000 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_GT(request->received, 100000u);
        EXPECT_EQ(request->status.get(), "Downloading");
        EXPECT_EQ(request->totalLength, 32u * 1024 * 1024);
        EXPECT_NE(request->startTime, 0);
        return request;
    }

    test::ServerProcess server;
    test::TempFolder folder;
    std::shared_ptr<test::ScriptedAsker> asker = std::make_shared<test::ScriptedAsker>();
};

TEST_F(Cancelling, StopsTheCopyAtOnceAndLeavesTheTargetAlone)
{
    auto request = startSlowDownload();
    EXPECT_FALSE(startDownload(request)) << "one worker per request";
    const auto cancelled = Clock::now();
    parchly::cancelDownload(*request);
    // The body would need many more seconds; the worker returns long before.
    ASSERT_EQ(request->worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const auto stopped = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cancelled);
    RecordProperty("cancel_to_worker_return_ms", static_cast<int>(stopped.count()));

    EXPECT_LT(request->received, 32u * 1024 * 1024);
    EXPECT_EQ(request->startTime, 0);
    EXPECT_FALSE(test::pathExists(request->tempFilePath()));
    EXPECT_EQ(test::readFile(folder.file("large.bin")), "old");
    EXPECT_TRUE(asker->asked.empty());
}

TEST_F(Cancelling, TheWorkerKeepsTheRequestAfterItsOwnerLetsGo)
{
    auto request = startSlowDownload();
    std::shared_future<void> worker = request->worker;
    // The dialog closes at once after cancelling, without waiting.
    parchly::cancelDownload(*request);
    request.reset();
    ASSERT_EQ(worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(test::pathExists(folder.file("PRCHTEMP.000")));
    EXPECT_EQ(test::readFile(folder.file("large.bin")), "old");
}

} // namespace
} // namespace parchly
