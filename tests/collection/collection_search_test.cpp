#include "collection/collection_search.h"

#include "analysis/line_reader.h"
#include "support/corpus.h"
#include "support/file_faults.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cctype>

namespace parchly {
namespace {

using test::TempFolder;

// A query of the fixture's cases and the files it hits, "rfc:hits".
SearchQuery queryOf(const test::FixtureCase& c)
{
    const auto has = [&](const char* option) { return c["options"].find(option) != std::string::npos; };
    return {c["query"], has("case"), has("word"), has("regex")};
}
const auto kSearchCases = test::readFixtureCases("collection/search-options.txt");

// Small RFC files, each with a trap for one of the options.
class CollectionSearchTest : public ::testing::Test {
protected:
    CollectionSearchTest()
    {
        folder.write("rfc1.txt", "Early data is 0-RTT.\nSee 0-RTTs and x0-RTT.\n");
        folder.write("rfc2.txt", "line one\r\nthe 0-rtt keys\r\n");
        folder.write("rfc3.txt", std::string("bin\0ary 0-RTT\n", 14));
        // A line longer than a line buffer is read as several lines; the
        // last word, a whole-word hit, ends the file.
        folder.write("rfc4.txt", "intro\n" + std::string(1500, 'a') + " 0-RTT");
        folder.write("rfc-index.txt", "0-RTT in the index is not an RFC\n");
    }

    // The files with hits of `query`, in RFC order.
    std::vector<FileHits> search(const SearchQuery& query)
    {
        std::vector<FileHits> found;
        CollectionSearch search(query);
        EXPECT_EQ(search.error(), "");
        summary = search.run(listCollection(folder.path().string()), 2,
                             [&](FileHits&& hits) { found.push_back(std::move(hits)); });
        std::sort(found.begin(), found.end(),
                  [](const FileHits& a, const FileHits& b) { return a.rfc < b.rfc; });
        return found;
    }

    const TempFolder folder;
    SearchSummary summary;
};

TEST_F(CollectionSearchTest, EachOptionFindsItsHitsInTheRfcFilesOnly)
{
    for (const test::FixtureCase& c : kSearchCases) {
        SCOPED_TRACE(c.title);
        std::vector<std::string> hitCounts;
        for (const FileHits& file : search(queryOf(c)))
            hitCounts.push_back(std::to_string(file.rfc) + ":" + std::to_string(file.hitCount));
        EXPECT_EQ(hitCounts, c.items("hits"));
        EXPECT_EQ(summary.filesSearched, 4u);
        EXPECT_EQ(summary.filesBinary, 1u);
    }
}

TEST_F(CollectionSearchTest, EveryHitStandsWhereTheReadersLinesPutIt)
{
    for (const test::FixtureCase& c : kSearchCases) {
        SCOPED_TRACE(c.title);
        const SearchQuery query = queryOf(c);
        for (const FileHits& file : search(query)) {
            std::optional<LineReader> reader = LineReader::open(file.path);
            ASSERT_TRUE(reader);
            for (const SearchHit& hit : file.hits) {
                ASSERT_LT(static_cast<std::size_t>(hit.line), reader->lineTotal());
                const std::string_view line = reader->lineAt(static_cast<std::size_t>(hit.line));
                EXPECT_EQ(line.substr(0, hit.lineText.size()), hit.lineText);
                EXPECT_EQ(hit.lineText.find_first_of("\r\n"), std::string::npos);
                std::string matched(line.substr(static_cast<std::size_t>(hit.column), hit.length));
                std::string wanted = query.regularExpression ? matched : query.text;
                for (std::string* text : {&matched, &wanted})
                    std::transform(text->begin(), text->end(), text->begin(), ::tolower);
                EXPECT_EQ(matched, wanted);
                EXPECT_GT(hit.length, 0);
            }
        }
    }
}

TEST_F(CollectionSearchTest, ALongLinesHitLiesInItsSecondPiece)
{
    const std::vector<FileHits> found = search(queryOf(kSearchCases[0]));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].hits.at(0).line, 2);
    EXPECT_EQ(found[1].hits.at(0).column, 1501 - 1023);
}

// rfc2 turns into a folder, which cannot be read as a file; rfc4 is
// deleted while the search runs, after rfc1 gave its hits.
TEST_F(CollectionSearchTest, FilesThatGoOrCannotBeReadAreCountedNotFatal)
{
    const std::vector<CollectionFile> files = listCollection(folder.path().string());
    ASSERT_EQ(files.size(), 4u);
    std::filesystem::remove(folder.file("rfc2.txt"));
    std::filesystem::create_directory(folder.file("rfc2.txt"));
    std::vector<int32_t> rfcs;
    CollectionSearch search({"0-RTT", true, true, false});
    const SearchSummary summary = search.run(files, 1, [&](FileHits&& hits) {
        rfcs.push_back(hits.rfc);
        std::filesystem::remove(folder.file("rfc4.txt"));
    });
    EXPECT_EQ(rfcs, std::vector<int32_t>{1});
    EXPECT_EQ(summary.filesSearched, 4u);
    EXPECT_EQ(summary.filesUnread, 2u);
    EXPECT_EQ(summary.filesBinary, 1u);
}

// A bad query says why and reads no file; a single word is a whole word by
// default; a cancel lets each worker finish only the file in its hands.
TEST(CollectionSearch, QueriesAreJudgedBeforeAnyFileIsReadAndACancelStopsSoon)
{
    // The Find in RFCs dock shows the text as it is.
    for (const auto& [query, told] :
         {std::pair{SearchQuery{"", false, false, false}, "Nothing to find."},
          std::pair{SearchQuery{"(", false, false, true}, "Not a valid regular"}}) {
        CollectionSearch search(query);
        EXPECT_EQ(search.error().rfind(told, 0), 0u) << search.error();
        EXPECT_EQ(search.run({{1, "/nonexistent/rfc1.txt", 0, 0}}, 1, {}).filesSearched, 0u);
    }
    for (const char* single : {"0-RTT", "QUIC", "stream_id"})
        EXPECT_TRUE(isSingleWord(single)) << single;
    for (const char* several : {"0-RTT data", "-flag", ""})
        EXPECT_FALSE(isSingleWord(several)) << several;

    const TempFolder folder;
    for (int i = 1; i <= 200; ++i)
        folder.write("rfc" + std::to_string(i) + ".txt", "a hit here\n");
    constexpr int kThreads = 2;
    CollectionSearch search({"hit", false, true, false});
    const SearchSummary summary =
        search.run(listCollection(folder.path().string()), kThreads, [&](FileHits&&) { search.cancel(); });
    EXPECT_TRUE(summary.cancelled);
    EXPECT_LE(summary.filesSearched, 2u * kThreads);
    EXPECT_EQ(search.filesSearched(), summary.filesSearched);
}

// An expression the matcher gives up on in a file marks that file and the
// whole search incomplete, never complete with hits silently missing.
TEST(CollectionSearch, ARegularExpressionThatGivesUpMarksTheSearchIncomplete)
{
    const TempFolder folder;
    // "^(a|aa)*$" backtracks without end on a long line of a's that does not
    // end as it wants; the lines around it match.
    folder.write("rfc1.txt", "aa\n" + std::string(40000, 'a') + "b\naaaa\n");
    folder.write("rfc2.txt", "aa\nbb\naaa\n");
    std::map<int32_t, FileHits> found;
    CollectionSearch search({"^(a|aa)*$", true, false, true});
    ASSERT_EQ(search.error(), "");
    const SearchSummary summary = search.run(listCollection(folder.path().string()), 1,
                                             [&](FileHits&& hits) { found[hits.rfc] = std::move(hits); });
    EXPECT_EQ(summary.filesIncomplete, 1u);
    ASSERT_EQ(found.count(1), 1u);
    EXPECT_TRUE(found[1].incomplete);
    ASSERT_EQ(found.count(2), 1u);
    EXPECT_FALSE(found[2].incomplete);
    EXPECT_EQ(found[2].hitCount, 2);
}

// Files beyond the reader's limit are skipped and counted; a FIFO among the
// RFCs blocks no worker and counts as unread.
TEST(CollectionSearch, FilesBeyondTheLimitAreSkippedAndFifosBlockNothing)
{
    const TempFolder folder;
    folder.write("rfc1.txt", "a hit\n");
    test::writeFileBeyond(folder.file("rfc2.txt"), kTextFileSizeLimit);
    ASSERT_EQ(::mkfifo(folder.file("rfc3.txt").c_str(), 0600), 0);
    // The listing leaves FIFOs out; one may take a file's place after it.
    std::vector<CollectionFile> files = listCollection(folder.path().string());
    files.push_back({3, folder.file("rfc3.txt"), 0, 0});
    CollectionSearch search({"hit", false, false, false});
    const SearchSummary summary = search.run(files, 2, {});
    EXPECT_EQ(summary.hits, 1);
    EXPECT_EQ(summary.filesTooLarge, 1u);
    EXPECT_EQ(summary.filesUnread, 1u);
}

// The files with hits of a case-sensitive search for `words` in one file.
std::vector<FileHits> searchOneFile(int rfc, const std::string& path, const std::string& words)
{
    CollectionSearch search({words, true, false, false});
    std::vector<FileHits> found;
    search.run({{rfc, path, 0, 0}}, 1, [&](FileHits&& hits) { found.push_back(std::move(hits)); });
    return found;
}

TEST(CollectionSearch, HitsNameTheirSectionAndTheTitle)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc9000, "rfc9000.txt");
    const std::vector<FileHits> found = searchOneFile(9000, rfc9000.string(), "Version Negotiation");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].title.find("QUIC"), std::string::npos);
    const bool inSection6 = std::any_of(found[0].hits.begin(), found[0].hits.end(), [](const SearchHit& hit) {
        return hit.sectionNumber == "6" && hit.sectionTitle == "Version Negotiation";
    });
    EXPECT_TRUE(inSection6);
}

TEST(CollectionSearch, HitsInATextWithoutContentsNameTheHeadingAbove)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc2119, "rfc2119.txt");
    const std::vector<FileHits> found = searchOneFile(2119, rfc2119.string(), "retransmisssions");
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found[0].hits.size(), 1u);
    EXPECT_EQ(found[0].hits[0].sectionNumber, "6");
    EXPECT_EQ(found[0].hits[0].sectionTitle, "Guidance in the use of these Imperatives");
}

// In a text without printed contents, a paragraph at the margin inside a
// numbered section ("(a) is reliable," as RFC 1891 sets its lists) is text
// the structure passes over, not the section a hit is in.
TEST(CollectionSearch, HitsInATextWithoutContentsSkipParagraphsAtTheMargin)
{
    const TempFolder folder;
    folder.write("rfc1891.txt",
                 "Network Working Group                                   A. Writer\n"
                 "Request for Comments: 1891                               May 1996\n\n"
                 "                         A Title\n\n"
                 "1. Introduction\n\n   Text.\n\n"
                 "2. Framework\n\n"
                 "(a) is reliable, in the sense that a request is either honored\n"
                 "    or refused,\n\n"
                 "   The notification is sent.\n\n"
                 "3. Syntax\n\n   Text.\n");
    const std::vector<FileHits> found = searchOneFile(1891, folder.file("rfc1891.txt"), "notification");
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found[0].hits.size(), 1u);
    EXPECT_EQ(found[0].hits[0].sectionNumber, "2");
    EXPECT_EQ(found[0].hits[0].sectionTitle, "Framework");
}

} // namespace
} // namespace parchly
