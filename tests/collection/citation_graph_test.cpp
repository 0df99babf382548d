#include "collection/citation_graph.h"

#include "support/corpus.h"
#include "support/file_faults.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace parchly {
namespace {

using test::TempFolder;

// A collection of `count` small RFC files and the cache beside them.
class CitationCacheTest : public ::testing::Test {
protected:
    void writeRfcs(int count)
    {
        for (int i = 1; i <= count; ++i)
            folder.write("rfc" + std::to_string(i) + ".txt", "Text of RFC " + std::to_string(i) + "\n");
    }

    std::vector<CollectionFile> files() const { return listCollection(folder.path().string()); }

    // Analyses the collection into a fresh cache; gives the cache's bytes.
    std::string builtCache()
    {
        CitationGraph graph;
        graph.refresh(files(), 2);
        EXPECT_TRUE(graph.saveCache(cache));
        return test::readFile(cache);
    }

    const TempFolder folder;
    const std::string cache = folder.file("cited-by.cache");
};

// The cache is keyed by size and time, so every step of a user's collection
// is checked against what was analysed: built, reused, one file changed,
// one touched, one gone.
TEST_F(CitationCacheTest, IsBuiltReusedAndRefreshedFileByFile)
{
    writeRfcs(5);
    // The step, the change it makes and what the refresh then does.
    const std::tuple<const char*, std::function<void()>, RefreshSummary> steps[] = {
        {"built", [] {}, {5, 0, 0}},
        {"reused", [] {}, {0, 5, 0}},
        {"one changed", [&] { folder.write("rfc3.txt", "Text of RFC 3, longer now\n"); }, {1, 4, 0}},
        {"one touched, same size",
         [&] {
             const std::string touched = folder.file("rfc2.txt");
             std::filesystem::last_write_time(
                 touched, std::filesystem::last_write_time(touched) + std::chrono::hours(1));
         },
         {1, 4, 0}},
        {"one gone", [&] { std::filesystem::remove(folder.file("rfc5.txt")); }, {0, 4, 1}},
    };
    for (const auto& [name, change, expected] : steps) {
        SCOPED_TRACE(name);
        change();
        CitationGraph graph;
        graph.loadCache(cache);
        const RefreshSummary summary = graph.refresh(files(), 2);
        EXPECT_EQ(std::tie(summary.analysed, summary.reused, summary.removed),
                  std::tie(expected.analysed, expected.reused, expected.removed));
        ASSERT_TRUE(graph.saveCache(cache));
    }
}

// A damaged cache is rebuilt as it was, and no other file is touched.
TEST_F(CitationCacheTest, ADamagedCacheIsRebuiltAsItWasTouchingNoOtherFile)
{
    writeRfcs(4);
    const std::string good = builtCache();
    const std::string settings = "[Settings]\nRfcRootPath=/rfcs\n";
    folder.write("Parchly.ini", settings);
    std::vector<std::pair<std::string, std::string>> damages = {
        {"cut short", good.substr(0, good.size() / 2)},
        {"no end", good.substr(0, good.size() - 4)},
        {"other version", "parchly cited-by 99\n" + good.substr(good.find('\n') + 1)}};
    for (const test::FixtureCase& c : test::readFixtureCases("collection/damaged-caches.txt"))
        damages.emplace_back(c.title, c["bytes"]);
    for (const auto& [name, bytes] : damages) {
        SCOPED_TRACE(name);
        folder.write("cited-by.cache", bytes);
        CitationGraph graph;
        EXPECT_FALSE(graph.loadCache(cache));
        EXPECT_TRUE(graph.files().empty());
        EXPECT_EQ(graph.refresh(files(), 1).analysed, 4u);
        ASSERT_TRUE(graph.saveCache(cache));
        EXPECT_EQ(test::readFile(cache), good);
    }
    EXPECT_EQ(test::readFile(folder.file("Parchly.ini")), settings);
}

// The cache is never read from or written through what is no file of its
// own: a FIFO blocks no worker, a link planted at an old temporary name is
// not followed; an RFC file beyond the reader's limit is skipped, counted.
TEST(CitationGraph, TheCacheAndTheFilesAreReadOnlyWhenTheyAreRegularFiles)
{
    const TempFolder folder;
    folder.write("rfc1.txt", "Text of RFC 1\n");
    test::writeFileBeyond(folder.file("rfc2.txt"), kTextFileSizeLimit);
    ASSERT_EQ(::mkfifo(folder.file("rfc3.txt").c_str(), 0600), 0);
    const std::string cache = folder.file("cited-by.cache");
    ASSERT_EQ(::mkfifo(cache.c_str(), 0600), 0);

    CitationGraph graph;
    EXPECT_FALSE(graph.loadCache(cache));
    // The listing leaves FIFOs out; one may take a file's place after it.
    std::vector<CollectionFile> files = listCollection(folder.path().string());
    files.push_back({3, folder.file("rfc3.txt"), 0, 0});
    const RefreshSummary summary = graph.refresh(files, 1);
    EXPECT_EQ(summary.analysed, 1u);
    EXPECT_EQ(summary.skipped, 1u);
    EXPECT_EQ(graph.files().count(2), 0u);
    EXPECT_FALSE(graph.saveCache(cache)) << "a FIFO is not replaced";

    std::filesystem::remove(cache);
    folder.write("victim.txt", "not a cache\n");
    std::filesystem::create_symlink(folder.file("victim.txt"),
                                    cache + "." + std::to_string(::getpid()) + ".tmp");
    ASSERT_TRUE(graph.saveCache(cache));
    EXPECT_EQ(test::readFile(folder.file("victim.txt")), "not a cache\n");
    CitationGraph reloaded;
    EXPECT_TRUE(reloaded.loadCache(cache));
    EXPECT_EQ(reloaded.files().size(), graph.files().size());
}

TEST(CitationGraph, LocalRfcsCiteThroughTheirReferences)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc2119, "rfc2119.txt");
    const TempFolder folder;
    for (const char* name : {"rfc2119.txt", "rfc8446.txt", "rfc9000.txt", "rfc9110.txt"})
        if (const std::filesystem::path file = test::corpusFile(name); !file.empty())
            std::filesystem::copy_file(file, folder.path() / name);
    CitationGraph graph;
    graph.refresh(listCollection(folder.path().string()), 2);
    const std::vector<CitingRfc> citing = graph.citedBy(2119);
    ASSERT_GE(citing.size(), 2u);
    for (const CitingRfc& rfc : citing) {
        SCOPED_TRACE(rfc.rfc);
        EXPECT_NE(rfc.rfc, 2119);
        EXPECT_FALSE(rfc.title.empty());
        EXPECT_GT(rfc.count, 0);
    }
    // RFC 9000 cites TLS 1.3, which cites no QUIC.
    const std::vector<CitingRfc> ofTls = graph.citedBy(8446);
    EXPECT_TRUE(
        std::any_of(ofTls.begin(), ofTls.end(), [](const CitingRfc& rfc) { return rfc.rfc == 9000; }));
    const std::vector<CitingRfc> ofQuic = graph.citedBy(9000);
    EXPECT_TRUE(
        std::none_of(ofQuic.begin(), ofQuic.end(), [](const CitingRfc& rfc) { return rfc.rfc == 8446; }));
}

// Every citation counts, wherever it stands on its line, and each label of
// a list; the reference entries' own labels are no citations.
TEST(CitationGraph, CountsEveryCitationOfALineAndEachLabelOfAList)
{
    const std::string text = test::readFixture("collection/citations.txt");
    const CitingFile file = analyseCitations(9990, text.data(), text.size());
    std::map<int32_t, int32_t> counts;
    for (const Citation& citation : file.citations)
        counts[citation.cited] = citation.count;
    EXPECT_EQ(counts, (std::map<int32_t, int32_t>{{9000, 2}, {9001, 4}}));
}

} // namespace
} // namespace parchly
