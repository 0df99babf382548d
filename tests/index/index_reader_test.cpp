#include "index_test_support.h"

#include <tuple>

namespace parchly {
namespace {

using test::readIndexFrom;

using Entries = std::vector<std::tuple<int32_t, int32_t, int32_t, std::string>>;

// Number, first and last line, and title of every entry read.
Entries entriesOf(const RfcText& index)
{
    Entries entries;
    for (const RfcIndexEntry& entry : index.indexEntries)
        entries.emplace_back(entry.number, entry.firstLine, entry.lastLine, entry.title);
    return entries;
}

// The sample holds a number line before the second heading, a title with a
// version number, a form-feed line ending an entry, an indented number line
// and a last entry that ends the file without a line end. CR LF line ends
// must read the same.
TEST(IndexReader, ReadsTheSampleIndexWithEitherLineEnd)
{
    const std::string lf = test::readFixture("index/sample-index.txt");
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& bytes : {lf, crlf}) {
        const RfcText index = readIndexFrom(bytes);
        EXPECT_TRUE(index.isIndex);
        EXPECT_EQ(index.lineCount, 33);
        EXPECT_EQ(index.pageEnds, std::vector<int32_t>{23});
        EXPECT_EQ(entriesOf(index),
                  (Entries{{1, 16, 18, "Host Software"},
                           {3, 19, 20, "Not Issued"},
                           {7, 21, 23, "Version 1.0 of the Example Protocol"},
                           {10, 24, 27, "Documentation conventions"},
                           {20, 30, 32, "ASCII format for network interchange"},
                           {33, 33, 33, "Truncated entry"}}));
    }
}

const std::string kHeading = "RFC INDEX\n\nRFC INDEX\n\n";

TEST(IndexReader, LinesTitlesAndEntriesThatAreDropped)
{
    for (const test::FixtureCase& c : test::readFixtureCases("index/dropped-lines.txt")) {
        SCOPED_TRACE(c.title);
        const RfcText index = readIndexFrom(c["text"]);
        std::vector<std::string> entries;
        for (const auto& [number, first, last, title] : entriesOf(index))
            entries.push_back(std::to_string(number) + "|" + std::to_string(first) + "|"
                              + std::to_string(last) + "|" + title);
        EXPECT_EQ(entries, c.items("entries"));
        if (c.parts.count("page ends")) {
            std::vector<std::string> pageEnds;
            for (const int32_t end : index.pageEnds)
                pageEnds.push_back(std::to_string(end));
            EXPECT_EQ(pageEnds, c.items("page ends"));
        }
    }
}

TEST(IndexReader, SurvivesHostileInput)
{
    EXPECT_EQ(readIndexFrom("").lineCount, 0);

    // The heading must stand twice at the left margin, in capitals.
    const std::string entry = "0001 Host Software. S. Crocker.\n";
    for (const std::string head : {"", "   RFC INDEX\n\n", "RFC INDEX\nRfc Index\n"})
        EXPECT_TRUE(readIndexFrom(head + entry).indexEntries.empty()) << head;
    EXPECT_EQ(readIndexFrom("RFC INDEX\n \f RFC INDEX\n" + entry).indexEntries.size(), 1u);

    // An entry of 100,000 bytes over many lines, then one whose group never closes.
    std::string huge = kHeading + "77 Huge";
    while (huge.size() < 100000)
        huge += "\n  word word word (Obsoletes RFC1";
    const RfcText hugeIndex = readIndexFrom(huge + ". A.\n\n78 Last (Status: open");
    ASSERT_EQ(hugeIndex.indexEntries.size(), 2u);
    EXPECT_GT(hugeIndex.indexEntries[0].title.size(), 90000u);
    EXPECT_EQ(hugeIndex.indexEntries[1].lastLine, hugeIndex.lineCount);
}

} // namespace
} // namespace parchly
