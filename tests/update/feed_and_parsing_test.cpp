// What the update reads: rsync's listing and progress lines, the feed of
// new RFCs, the index; and the check for new RFCs against a local server.
#include "update/index_listing.h"
#include "update/new_rfcs.h"
#include "update/rsync_output.h"

#include "support/fixture_cases.h"
#include "update_test_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(RsyncOutputTest, ListingLinesGiveTypeSizeAndName)
{
    const std::map<std::string, ListedFile::Type> types = {
        {"regular", ListedFile::Regular}, {"directory", ListedFile::Directory}, {"link", ListedFile::Link}};
    for (const test::FixtureCase& c : test::readFixtureCases("update/listing-lines.txt")) {
        SCOPED_TRACE(c.title);
        const std::optional<ListedFile> file = parseListingLine(c["line"]);
        ASSERT_EQ(file.has_value(), c["type"] != "none");
        if (file) {
            EXPECT_EQ(file->type, types.at(c["type"]));
            EXPECT_EQ(file->size, uint64_t(c.number("size")));
            EXPECT_EQ(file->name, c["name"]);
        }
    }
    // Listed with TZ=UTC: the time the next run compares with the local file.
    EXPECT_EQ(parseListingLine("-rw-r--r--         12,345 2026/05/01 10:00:00 rfc1.txt")->modified,
              1777629600);
}

TEST(RsyncOutputTest, ProgressLinesGiveBytesPercentRateAndFiles)
{
    const std::optional<RsyncProgress> step =
        parseProgressLine("      1,234,567  45%    1.23MB/s    0:00:12 (xfr#5, to-chk=100/10000)");
    ASSERT_TRUE(step);
    EXPECT_EQ(step->bytes, 1234567u);
    EXPECT_EQ(step->percent, 45);
    EXPECT_EQ(step->rate, "1.23MB/s");
    EXPECT_EQ(step->timeLeft, "0:00:12");
    EXPECT_EQ(step->transferred, 5);
    EXPECT_EQ(step->toCheck, 100);
    EXPECT_EQ(step->total, 10000);

    const std::optional<RsyncProgress> early =
        parseProgressLine("              0   0%    0.00kB/s    0:00:00");
    ASSERT_TRUE(early);
    EXPECT_EQ(early->total, -1);
    EXPECT_FALSE(parseProgressLine("rfc1.txt"));
}

TEST(RsyncOutputTest, FiltersLetThroughOnlyTopLevelRfcNamesAndTheIndex)
{
    const std::vector<std::string> filters = rsyncFilterArguments();
    EXPECT_EQ(filters.front(), "--include=/rfc-index.txt");
    EXPECT_EQ(filters[1], "--include=/rfc[1-9].txt");
    EXPECT_EQ(filters[5], "--include=/rfc[1-9][0-9][0-9][0-9][0-9].txt");
    EXPECT_EQ(filters.back(), "--exclude=*");
}

TEST(NewRfcFeedTest, RssAndAtomItemsGiveTheirRfcNumbers)
{
    const FeedReading read = readNewRfcFeed(test::readFixture("update/new-rfcs.rss"));
    EXPECT_TRUE(read.error.empty()) << read.error;
    ASSERT_EQ(read.items.size(), 3u);
    EXPECT_EQ(read.items[0].number, 9998);
    EXPECT_EQ(read.items[0].title, "Fixture Things");
    EXPECT_EQ(read.items[1].number, 9997);
    EXPECT_EQ(read.items[2].number, 9996);

    const FeedReading atomRead = readNewRfcFeed(test::readFixture("update/new-rfcs.atom"));
    ASSERT_EQ(atomRead.items.size(), 1u);
    EXPECT_EQ(atomRead.items[0].number, 9995);
}

TEST(NewRfcFeedTest, TextThatIsNotXmlIsAnErrorWithNoItems)
{
    const FeedReading html = readNewRfcFeed("<html><body>RFC 9999<br></body>");
    EXPECT_TRUE(html.items.empty());
    EXPECT_NE(html.error.find("not XML"), std::string::npos) << html.error;
    EXPECT_NE(readNewRfcFeed("<?xml version=\"1.0\"?><page/>").error.find("no RSS or Atom"),
              std::string::npos);
}

TEST(NewRfcCheckTest, CheckIsDueByTheChosenInterval)
{
    const int64_t now = 1800000000;
    const std::map<std::string, NewRfcCheck> intervals = {
        {"never", NewRfcCheck::Never}, {"daily", NewRfcCheck::Daily}, {"weekly", NewRfcCheck::Weekly}};
    for (const test::FixtureCase& c : test::readFixtureCases("update/new-rfc-checks.txt")) {
        SCOPED_TRACE(c.title);
        const int64_t last = c["ago"] == "never" ? 0 : now - c.number("ago");
        EXPECT_EQ(newRfcCheckDue(intervals.at(c["interval"]), last, now), c.number("due") == 1);
    }
}

TEST(IndexListingTest, EntriesTellNumberTitleStatusAndWhetherTextExists)
{
    const std::vector<ListedRfc> listing = indexListing(test::indexText({1, 8999}, {77}));
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(listing[0].number, 1);
    EXPECT_EQ(listing[0].title, "Fixture Protocol Number 1");
    EXPECT_EQ(listing[0].status, "PROPOSED STANDARD");
    EXPECT_TRUE(listing[0].hasText);
    EXPECT_EQ(listing[1].number, 77);
    EXPECT_FALSE(listing[1].hasText);
    EXPECT_EQ(highestListed(listing), 8999);
}

// The HTTP test server over the folder `served`, which the tests fill.
class NewRfcCheckServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << "no HTTP test server";
    }
    NewRfcs check()
    {
        return checkForNewRfcs(
            {server.url("rfcrss.xml"), server.url("rfc-index.txt"), local.path().string(), ""}, cancel);
    }

    test::TempFolder served;
    test::TempFolder local;
    test::FileServer server{served.path(), false};
    std::atomic<bool> cancel{false};
};

TEST_F(NewRfcCheckServerTest, FeedItemsTheFolderLacksAreNew)
{
    served.write("rfcrss.xml", test::readFixture("update/present-and-absent.rss"));
    local.write("rfc9001.txt", "here\n");
    const NewRfcs found = check();
    EXPECT_EQ(found.source, "feed");
    ASSERT_EQ(found.rfcs.size(), 1u);
    EXPECT_EQ(found.rfcs[0].number, 9002);
    EXPECT_EQ(found.rfcs[0].title, "Absent");
}

TEST_F(NewRfcCheckServerTest, FeedThatIsNotXmlFallsBackToTheIndex)
{
    served.write("rfcrss.xml", "<html>maintenance</html");
    served.write("rfc-index.txt", test::indexText({1, 2, 3}));
    local.write("rfc-index.txt", test::indexText({1, 2}));
    const NewRfcs found = check();
    EXPECT_EQ(found.source, "index");
    ASSERT_EQ(found.rfcs.size(), 1u);
    EXPECT_EQ(found.rfcs[0].number, 3);
    ASSERT_FALSE(found.notes.empty());
    EXPECT_NE(found.notes[0].find("not XML"), std::string::npos) << found.notes[0];
}

} // namespace
} // namespace parchly
