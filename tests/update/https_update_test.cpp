// The HTTPS path: when rsync cannot serve, and for a web address; and the
// archive path kept from before.
#include "update/collection_update.h"
#include "update/https_update.h"

#include "update_test_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

using test::readFile;
using test::rfcBody;

// The HTTPS test server over the folder `served`, which the tests fill.
class HttpsUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << "no HTTPS test server could be started";
    }

    test::TempFolder served;
    test::TempFolder local;
    test::FileServer server{served.path(), true};
    std::atomic<bool> cancel{false};

    void serve(const std::vector<int>& numbers, const std::vector<int>& listedOnly = {})
    {
        std::vector<int> listed = numbers;
        listed.insert(listed.end(), listedOnly.begin(), listedOnly.end());
        served.write("rfc-index.txt", test::indexText(listed, {3}));
        for (int number : numbers)
            served.write("rfc" + std::to_string(number) + ".txt", rfcBody(number));
    }

    UpdateOptions options(const std::string& source)
    {
        UpdateOptions result;
        result.source = source;
        result.indexUrl = server.url("rfc-index.txt");
        result.rfcFolderUrl = server.url("");
        result.caFile = server.caFile();
        result.folder = local.path().string();
        return result;
    }

    // An update from `source`: the server's folder when empty.
    UpdateSummary update(const std::string& source = {})
    {
        return updateCollection(options(source.empty() ? server.url("") : source), cancel, {});
    }

    // An update from the server's folder, its errata.json the errata address.
    UpdateSummary updateWithErrata()
    {
        UpdateOptions settings = options(server.url(""));
        settings.errataUrl = server.url("errata.json");
        return updateCollection(settings, cancel, {});
    }

    void expectNoTemporaryFileLeft() const
    {
        for (const std::string& name : test::namesIn(local.path()))
            EXPECT_NE(name[0], '.') << "temporary file " << name << " was left behind";
    }

    // An rsync module address where nothing listens.
    static std::string unreachableModule()
    {
        return "rsync://127.0.0.1:" + std::to_string(test::freePort()) + "/rfcs-text-only/";
    }
};

TEST_F(HttpsUpdateTest, UnreachableRsyncServerFallsBackToHttpsForExactlyTheMissingFiles)
{
    serve({1, 2, 5, 8});
    local.write("rfc2.txt", "the reader's own copy\n");
    const UpdateSummary summary = update(unreachableModule());
    EXPECT_TRUE(summary.complete()) << summary.text();
    EXPECT_EQ(summary.method, "HTTPS");
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{1, 5, 8}));
    EXPECT_EQ(readFile(local.file("rfc2.txt")), "the reader's own copy\n")
        << "a present file was fetched again";
    EXPECT_EQ(readFile(local.file("rfc5.txt")), rfcBody(5));
    EXPECT_EQ(test::namesIn(local.path()),
              (std::set<std::string>{"rfc-index.txt", "rfc1.txt", "rfc2.txt", "rfc5.txt", "rfc8.txt"}));
    ASSERT_FALSE(summary.notes.empty());
    EXPECT_NE(summary.notes[0].find("could not be reached"), std::string::npos);
}

TEST_F(HttpsUpdateTest, MissingRsyncProgramFallsBackToHttps)
{
    serve({4});
    UpdateOptions settings = options(unreachableModule());
    settings.rsyncProgram = (local.path() / "no-such-rsync").string();
    const UpdateSummary summary = updateCollection(settings, cancel, {});
    EXPECT_TRUE(summary.complete()) << summary.text();
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{4}));
    EXPECT_NE(summary.notes.at(0).find("rsync program could not be started"), std::string::npos);
}

TEST_F(HttpsUpdateTest, OneFileTheServerLacksIsListedAndTheRestArrive)
{
    serve({1, 2, 3000}, {77});
    const UpdateSummary summary = update();
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{1, 2, 3000}));
    ASSERT_EQ(summary.failures.size(), 1u);
    EXPECT_EQ(summary.failures[0].name, "rfc77.txt");
    EXPECT_NE(summary.failures[0].reason.find("status 404"), std::string::npos);
    EXPECT_EQ(summary.countsLine(), "3 new RFCs, 0 replaced, 1 failed");
    EXPECT_FALSE(summary.complete());
    expectNoTemporaryFileLeft();
}

TEST_F(HttpsUpdateTest, SecondRunFetchesOnlyWhatIsStillMissing)
{
    serve({1, 2}, {77});
    ASSERT_EQ(update().newRfcs.size(), 2u);
    served.write("rfc77.txt", rfcBody(77));
    const UpdateSummary second = update();
    EXPECT_TRUE(second.complete()) << second.text();
    EXPECT_EQ(second.newRfcs, (std::vector<int32_t>{77}));
    EXPECT_TRUE(second.replacedRfcs.empty());
}

TEST_F(HttpsUpdateTest, IndexCutShortIsRefusedAndTheLocalIndexKept)
{
    const std::string whole = test::indexText({1, 2, 9000});
    local.write("rfc-index.txt", whole);
    serve({1, 2});
    const UpdateSummary summary = update();
    EXPECT_FALSE(summary.complete());
    EXPECT_NE(summary.problem.find("cut short"), std::string::npos) << summary.problem;
    EXPECT_EQ(readFile(local.file("rfc-index.txt")), whole);
    EXPECT_TRUE(summary.newRfcs.empty()) << "nothing is fetched after a cut index";
}

TEST_F(HttpsUpdateTest, FileOverTheSixteenMegabyteLimitIsRefused)
{
    serve({1, 2});
    served.write("rfc2.txt", std::string(17 * 1024 * 1024, 'x'));
    const UpdateSummary summary = update();
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{1}));
    ASSERT_EQ(summary.failures.size(), 1u);
    EXPECT_NE(summary.failures[0].reason.find("larger than 16 MB"), std::string::npos);
    EXPECT_EQ(test::namesIn(local.path()).count(".rfc2.txt.part"), 0u);
}

// One erratum, as the RFC Editor's errata.json writes it.
const char* const kErrata = R"([{"errata_id": "1", "doc-id": "RFC1", "errata_status_code": "Verified",
"errata_type_code": "Technical", "section": "1", "orig_text": "old", "correct_text": "new"}])";

TEST_F(HttpsUpdateTest, ErrataArriveAfterTheRfcs)
{
    serve({1});
    served.write("errata.json", kErrata);
    const UpdateSummary summary = updateWithErrata();
    EXPECT_TRUE(summary.complete()) << summary.text();
    EXPECT_EQ(readFile(local.file("errata.json")), kErrata);
    EXPECT_NE(summary.text().find("errata.json updated: 1 errata"), std::string::npos) << summary.text();
}

// A cut, empty or missing errata file is said, keeps the reader's own, and
// leaves the RFCs' outcome as it is.
TEST_F(HttpsUpdateTest, ErrataThatDoNotReadWholeKeepTheLocalFileAndAreSaid)
{
    const std::string freshFiles[] = {"[{\"errata_id\": \"1\", \"doc-id\": \"RF", "[]", ""};
    for (const std::string& fresh : freshFiles) {
        SCOPED_TRACE(fresh);
        serve({1});
        if (fresh.empty())
            std::remove(served.file("errata.json").c_str());
        else
            served.write("errata.json", fresh);
        local.write("errata.json", kErrata);
        const UpdateSummary summary = updateWithErrata();
        EXPECT_TRUE(summary.complete()) << summary.text();
        EXPECT_EQ(readFile(local.file("errata.json")), kErrata);
        EXPECT_NE(summary.text().find("errata were not updated"), std::string::npos) << summary.text();
        expectNoTemporaryFileLeft();
    }
}

TEST_F(HttpsUpdateTest, ArchiveAddressIsDownloadedAndUnpackedAsBefore)
{
    ASSERT_TRUE(test::writeArchive(served.file("RFC-all.tar.gz"), test::ArchiveFormat::TarGz,
                                   {{"RFC-all/rfc10.txt", rfcBody(10)},
                                    {"RFC-all/rfc-index.txt", test::indexText({10})},
                                    {"../rfc11.txt", "outside the folder"}}));
    const UpdateSummary summary = update(server.url("RFC-all.tar.gz"));
    EXPECT_EQ(summary.method, "archive");
    EXPECT_EQ(summary.newRfcs, (std::vector<int32_t>{10})) << summary.text();
    EXPECT_EQ(readFile(local.file("rfc10.txt")), rfcBody(10));
    EXPECT_FALSE(std::filesystem::exists(local.path().parent_path() / "rfc11.txt"));
}

} // namespace
} // namespace parchly
