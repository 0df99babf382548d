// Cancelling a running download on its worker thread, and the request
// outliving the dialog that started it.
#include "download/download_request.h"
#include "download_fixture.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace parchly {
namespace {

using Clock = std::chrono::steady_clock;

// Waits (at most 10 s) until `done` holds.
template <typename Condition>
bool waitFor(Condition done)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

class CancelDownload : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::StartHttpServer(server))
            GTEST_SKIP() << "the test HTTP server could not be started";
    }

    // Starts the slow 32 MiB body (20 s at the server's pace) and waits until
    // its copy runs.
    std::shared_ptr<DownloadRequest> startSlowDownload()
    {
        test::WriteWholeFile(folder.path() + "large.bin", "old");
        auto request = test::MakeRequest("http://127.0.0.1:" + std::to_string(server.port()) + "/slow/large.bin",
                                         folder.path(), asker);
        StartDownload(request);
        EXPECT_TRUE(waitFor([&] { return request->Received > 100000; }));
        EXPECT_EQ(request->Status.get(), "Downloading");
        EXPECT_EQ(request->TotalLength, 32u * 1024 * 1024);
        EXPECT_NE(request->StartTime, 0);
        return request;
    }

    test::ServerProcess server;
    test::ScratchFolder folder;
    std::shared_ptr<test::ScriptedAsker> asker = std::make_shared<test::ScriptedAsker>();
};

TEST_F(CancelDownload, StopsTheCopyAtOnceAndLeavesTheTargetAlone)
{
    auto request = startSlowDownload();
    const auto cancelled = Clock::now();
    parchly::CancelDownload();
    // The body would need many more seconds; the worker returns long before.
    ASSERT_EQ(request->Worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const auto stopped = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cancelled);
    RecordProperty("cancel_to_worker_return_ms", static_cast<int>(stopped.count()));

    EXPECT_LT(request->Received, 32u * 1024 * 1024);
    EXPECT_EQ(request->StartTime, 0);
    EXPECT_FALSE(test::PathExists(request->tempFilePath()));
    EXPECT_EQ(test::ReadWholeFile(folder.path() + "large.bin"), "old");
    EXPECT_TRUE(asker->asked().empty());
    EXPECT_EQ(request->Status.get(), "Downloading");
}

TEST_F(CancelDownload, TheWorkerKeepsTheRequestAfterItsOwnerLetsGo)
{
    auto request = startSlowDownload();
    std::shared_future<void> worker = request->Worker;
    // The dialog closes at once after cancelling, without waiting.
    parchly::CancelDownload();
    request.reset();
    ASSERT_EQ(worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(test::PathExists(folder.path() + "PRCHTEMP.000"));
    EXPECT_EQ(test::ReadWholeFile(folder.path() + "large.bin"), "old");
}

TEST_F(CancelDownload, AFinishedWorkerHasClearedTheFlagAndSaved)
{
    auto request = test::MakeRequest("http://127.0.0.1:" + std::to_string(server.port()) + "/rfc-index.txt",
                                     folder.path(), asker);
    StartDownload(request);
    EXPECT_TRUE(WorkerActive(*request) || !DownloadRunning);
    ASSERT_EQ(request->Worker.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(WorkerActive(*request));
    EXPECT_FALSE(DownloadRunning);
    EXPECT_EQ(request->Status.get(), "Downloaded");
    EXPECT_EQ(test::ReadWholeFile(folder.path() + "rfc-index.txt"), test::IndexBody());
}

} // namespace
} // namespace parchly
