// Page breaks, page header and footer recognition, the per-page statistics
// and the mappings between file lines and shown lines.
#include "analysis/page_lines.h"
#include "analysis/tree_walk.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace parchly {
namespace {

using test::analyseLines;
using test::nineties;

// Offers `line` to the recogniser with `following` as the rest of the stream.
bool classify(RfcText& text, const std::string& line, bool pageBreakSeen,
              const std::string& following = "")
{
    const LineReader reader(following);
    return classifyPageLine(text, reader, line, skipBlanks(line, 0), pageBreakSeen);
}

const std::string kHeader = "RFC 2616                        HTTP/1.1                       June 1999\n";
const std::string kFooter = "Fielding, et al.            Standards Track                     [Page 1]\n";

// The front matter of the nineties fixture, as the earlier passes leave it.
RfcText rfc2616()
{
    RfcText text;
    text.rfcNumber = 2616;
    text.year = 1999;
    text.month = "June";
    text.title = "Hypertext Transfer Protocol -- HTTP/1.1";
    text.authors = {{"R. Fielding", "UC Irvine"}, {"J. Gettys", "Compaq/W3C"}};
    text.category = "Standards Track";
    return text;
}

TEST(PageLines, HeadersAndFootersEachWayTheyAreRecognised)
{
    struct Case {
        const char* why;
        std::function<void(RfcText&)> setUp;
        std::string line;
        bool pageBreakSeen;
        std::string following;
        bool expected;
    };
    const auto none = [](RfcText&) {};
    const Case cases[] = {
        {"header by number and date", none, kHeader, false, "", true},
        {"another RFC's number", [](RfcText& t) { t.rfcNumber = 2617; }, kHeader, false, "", false},
        {"any RFC line after a form feed", [](RfcText& t) { t.rfcNumber = 2617; }, kHeader, true, "", true},
        {"first word RFC exactly", none, "RFCs are documents\n", true, "", false},
        {"another year", [](RfcText& t) { t.year = 2000; }, kHeader, false, "", false},
        {"date with the letter l", none, "RFC 2616   HTTP/1.1   June l999\n", false, "", true},
        {"date with another day", [](RfcText& t) { t.day = 7; },
         "RFC 2616   HTTP/1.1   8 June 1999\n", false, "", false},
        {"date with the day after the month", [](RfcText& t) { t.day = 7; },
         "RFC 2616   HTTP/1.1   Jun 7, 1999\n", false, "", true},
        {"header by title", [](RfcText& t) { t.year = 1998; },
         "RFC 2616 Hypertext Transfer Protocol -- HTTP/1.1 and more\n", false, "", true},
        {"known header", [](RfcText& t) { t = RfcText(); t.headerLine = kHeader; }, kHeader, false, "", true},
        {"footer: surname and comma", none, kFooter, false, "", true},
        {"footer: learned prefix", [](RfcText& t) { t.authors.clear(); t.footerPrefix = kFooter.substr(0, 70); },
         "Fielding, et al.            Standards Track                     [Page 42]\n", false, "", true},
        {"footer: surname and category", [](RfcText& t) { t.authors = {{"E. Rescorla", "Mozilla"}}; },
         "Rescorla                     Standards Track                    [Page 1]\n", false, "", true},
        {"footer: two authors with &", [](RfcText& t) { t.authors = {{"Smith", "A"}, {"Jones", "B"}}; },
         "Smith & Jones                 Informational                     [Page 2]\n", false, "", true},
        {"surname is only a prefix", [](RfcText& t) { t.authors = {{"Smith", "A"}, {"Jones", "B"}}; },
         "Smithers                      Informational\n", false, "", false},
        {"footer: this page's number", [](RfcText& t) { t.authors = {{"Steve Crocker", "UCLA"}}; t.pageCount = 3; },
         "Crocker                                                        [Page 4]\n", false, "", true},
        {"another page's number", [](RfcText& t) { t.authors = {{"Steve Crocker", "UCLA"}}; t.pageCount = 3; },
         "Crocker                                                        [Page 1]\n", false, "", false},
        {"indented page number", none, "                                  [Page 1]\n", false, "", true},
        {"footer: form feed next", [](RfcText& t) { t = RfcText(); }, "Anyone        Some text\n", false, "\fRFC 1\n", true},
        {"end of file is no form feed", [](RfcText& t) { t = RfcText(); }, "Anyone        Some text\n", false, "", false},
        {"indented text before a form feed", none, "   indented text\n", false, "\f\n", false},
        {"blank line", none, "\n", true, "\f", false},
        // Old RFCs whose right column starts with an organisation leave the
        // first author without a name: body lines must not become footers.
        {"nameless author, body line", [](RfcText& t) { t.authors = {{"", "DARPA"}}; },
         "Similarly, whenever a multi-octet field\n", false, "next\n", false},
        {"nameless author, & line", [](RfcText& t) { t.authors = {{"", "DARPA"}}; }, "& more\n", false, "next\n", false},
        {"nameless author, page number", [](RfcText& t) { t.authors = {{"", "DARPA"}}; },
         "Postel                                [Page 1]\n", false, "next\n", true},
    };
    for (const Case& c : cases) {
        RfcText text = rfc2616();
        c.setUp(text);
        text.lineCount = 16;
        EXPECT_EQ(classify(text, c.line, c.pageBreakSeen, c.following), c.expected) << c.why;
        EXPECT_EQ(text.pageMarks.size(), c.expected ? 1u : 0u) << c.why;
    }

    // The first header and footer are learned, and a mark records the line.
    RfcText text = rfc2616();
    text.lineCount = 16;
    ASSERT_TRUE(classify(text, kHeader, false));
    EXPECT_EQ(text.headerLine, kHeader);
    EXPECT_EQ(text.pageMarks[0].line, 16);
    EXPECT_TRUE(text.pageMarks[0].isHeader);
    ASSERT_TRUE(classify(text, kFooter, false));
    EXPECT_FALSE(text.pageMarks[1].isHeader);
    EXPECT_EQ(text.footerPrefix, kFooter.substr(0, 70));
}

TEST(PageBreaks, NinetiesRfcMarksAndStatistics)
{
    const auto result = analyseLines(nineties());
    const RfcText& text = result.text;
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(text.pageEnds, (std::vector<int32_t>{-1, 14, 27, 39}));
    EXPECT_EQ(text.pageCount, 3);
    std::vector<std::pair<int32_t, bool>> marks;
    for (const PageMark& mark : text.pageMarks)
        marks.emplace_back(mark.line, mark.isHeader);
    EXPECT_EQ(marks, (std::vector<std::pair<int32_t, bool>>{
                         {14, false}, {16, true}, {27, false}, {29, true}, {39, false}}));
    EXPECT_EQ(text.pageMarks[2].page, 1);
    EXPECT_EQ(text.linesBeforeHeader, (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(text.linesFromFooter, (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(text.blankAfterHeader, (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(text.blankBeforeFooter, (std::vector<int32_t>{1, 1, 1}));
    // The blank lines next to headers and footers go with them.
    EXPECT_EQ(text.pageEndsNoHeaders, (std::vector<int32_t>{-1, 14, 25, 35}));
    EXPECT_EQ(text.pageEndsNoFooters, (std::vector<int32_t>{-1, 12, 23, 33}));
    EXPECT_EQ(text.pageEndsNoHeadersFooters, (std::vector<int32_t>{-1, 12, 21, 29}));

    AnalysisOptions keepSpaces;
    keepSpaces.disableSpacesNearHeaderAndFooter = false;
    const RfcText kept = analyseLines(nineties(), keepSpaces).text;
    EXPECT_EQ(kept.pageEndsNoHeaders, (std::vector<int32_t>{-1, 14, 26, 37}));
    EXPECT_EQ(kept.pageEndsNoFooters, (std::vector<int32_t>{-1, 13, 25, 36}));
    EXPECT_EQ(kept.pageEndsNoHeadersFooters, (std::vector<int32_t>{-1, 13, 24, 34}));

    // Pages without header or footer: text runs to the form feed.
    const RfcText bare = analyseLines({"Request for Comments: 5", "", "Title", "", "Intro", "",
                                       "   text", "   more", "\f", "   next page", "\f"}).text;
    EXPECT_EQ(bare.pageEnds, (std::vector<int32_t>{-1, 8, 10}));
    EXPECT_TRUE(bare.pageMarks.empty());
    EXPECT_EQ(bare.linesFromFooter, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(bare.blankBeforeFooter, (std::vector<int32_t>{0, 0}));
}

TEST(PageBreaks, BoundaryDependsOnWhereTheFormFeedIsMet)
{
    // Blank lines up to 55, then lines 56 to 58 and an unindented RFC line.
    const auto page = [](const std::string& l56, const std::string& l57, const std::string& l58) {
        std::vector<std::string> lines = {"Request for Comments: 5", "", "Title"};
        lines.resize(55);
        lines.insert(lines.end(), {l56, l57, l58, "", "RFC 77 Other"});
        return lines;
    };
    const RfcText between = analyseLines(page("", "", "\f")).text;
    EXPECT_EQ(between.pageEnds, (std::vector<int32_t>{-1, 57}));
    ASSERT_EQ(between.pageMarks.size(), 1u) << "after the form feed any RFC line is a header";
    EXPECT_EQ(between.pageMarks[0].line, 60);

    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    const RfcText inside = analyseLines(page("Heading", "over", "\fthree lines"), headingsOnly).text;
    EXPECT_EQ(inside.pageEnds, (std::vector<int32_t>{-1, 58}));
    EXPECT_TRUE(inside.pageMarks.empty()) << "a form feed inside a paragraph is not seen as a page break";
    ASSERT_FALSE(inside.headings.empty());
    EXPECT_EQ(inside.headings[0].title, "Heading over three lines");

    const RfcText frontMatter = analyseLines({"Request for Comments: 5", "\f", "Title"}).text;
    EXPECT_EQ(frontMatter.pageEnds, (std::vector<int32_t>{-1, 2}));

    const RfcText title = analyseLines({"Request for Comments: 5", "", "A title", "\fgoing on", ""}).text;
    EXPECT_EQ(title.pageEnds, (std::vector<int32_t>{-1, 4}));
    EXPECT_EQ(title.title, "A title going on");

    const RfcText single = analyseLines({"Request for Comments: 5", "", "Title", "", "Intro", "", "  text"}).text;
    EXPECT_EQ(single.pageEnds, (std::vector<int32_t>{-1}));
    EXPECT_EQ(single.pageCount, 0);
    EXPECT_TRUE(single.pageEndsNoHeaders.empty());
}

TEST(LineMapping, NinetiesValuesForEachHideState)
{
    struct Case {
        bool headers, footers, blanks;
        int32_t fileLine, shown;
    };
    const Case cases[] = {
        {false, false, false, 18, 18}, {true, false, false, 18, 17},
        {true, false, false, 16, 15}, // a hidden header shares the line before it
        {true, false, true, 18, 16},   {false, true, false, 18, 16},
        {false, true, false, 31, 27},  {true, true, false, 31, 24},
    };
    RfcText text = analyseLines(nineties()).text;
    for (const Case& c : cases) {
        text.hideHeaders = c.headers;
        text.hideFooters = c.footers;
        text.hideBlankLines = c.blanks;
        EXPECT_EQ(fileLineToDisplay(text, c.fileLine), c.shown) << c.fileLine;
    }
    EXPECT_EQ(displayLineToFile(text, 24), 31);
    text.isIndex = true;
    EXPECT_EQ(fileLineToDisplay(text, 31), 31);
    EXPECT_EQ(displayLineToFile(text, 31), 31);

    // The analysis stopped before the statistics: the mappings still answer.
    RfcText unfinished;
    unfinished.pageEnds = {-1, 10, 20};
    unfinished.hideHeaders = true;
    unfinished.hideFooters = true;
    EXPECT_EQ(fileLineToDisplay(unfinished, 15), 5);
    EXPECT_EQ(displayLineToFile(unfinished, 5), 15);
}

TEST(LineMapping, DisplayToFileToDisplayRoundTrip)
{
    test::expectShownLinesRoundTrip(analyseLines(nineties()).text);
    // Kept beside their headers and footers, hidden blank lines stay in the
    // page boundaries, so that state has no round trip.
    AnalysisOptions keepSpaces;
    keepSpaces.disableSpacesNearHeaderAndFooter = false;
    test::expectShownLinesRoundTrip(analyseLines(nineties(), keepSpaces).text, false);
}

TEST(PageTree, ChoosesThePageThatHoldsTheLine)
{
    const std::vector<int64_t> pages = {0, 15, 28};
    EXPECT_EQ(pageItemForLine(pages, 14), 0);
    EXPECT_EQ(pageItemForLine(pages, 15), 1);
    EXPECT_EQ(pageItemForLine(pages, 500), 2);
    EXPECT_EQ(pageItemForLine(pages, -3), -1);
    EXPECT_EQ(pageItemForLine({}, 3), -1);
    // An item followed by one without a page is passed over.
    EXPECT_EQ(pageItemForLine({0, -1, 30}, 5), -1);
    EXPECT_EQ(pageItemForLine({0, -1, 30}, 31), 2);
}

} // namespace
} // namespace parchly
