#include "index_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

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
    // Without a blank line between them, "13 Next" continues entry 12; a form
    // feed after blanks inside an entry is a page break but no entry end.
    RfcText index = readIndexFrom(kHeading
                                  + "12 A title that\r\n\t  runs over lines. Authors.\n13 Next. B.\n\n"
                                    "5 Title\n  \f  continues. A.\n\n\f\n6 Next. B.\n");
    EXPECT_EQ(index.pageEnds, (std::vector<int32_t>{10, 12}));
    EXPECT_EQ(entriesOf(index),
              (Entries{{12, 5, 8, "A title that runs over lines"},
                       {5, 9, 11, "Title continues"},
                       {6, 13, 13, "Next"}}));

    index = readIndexFrom(
        kHeading
        + "0000 Zero is no RFC. A.\n\n0042\n\n0044 . Authors only.\n\n99999999999 Number too large. A.\n\n"
          "1 HTTP/1.0 and v2.1.3 Notes.\tA. Author.\n\n2 Title without period\n");
    EXPECT_EQ(entriesOf(index),
              (Entries{{1, 13, 14, "HTTP/1.0 and v2.1.3 Notes"}, {2, 15, 15, "Title without period"}}));

    // A line of 1,507 bytes arrives in pieces of 1,023 and 484 bytes, joined
    // like any two lines.
    index = readIndexFrom(kHeading + "7 " + std::string(1500, 'x') + ". A.\n\n8 Short. B.\n");
    EXPECT_EQ(entriesOf(index),
              (Entries{{7, 5, 7, std::string(1021, 'x') + " " + std::string(479, 'x')}, {8, 8, 8, "Short"}}));
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
