// Page breaks, page header and footer recognition, the per-page statistics
// and the mappings between file lines and shown lines.
#include "analysis/line_mapping.h"
#include "analysis/page_lines.h"
#include "analysis/tree_walk.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace parchly {
namespace {

using test::analyseLines;
using test::nineties;

// Offers `line` to the recogniser with `following` as the rest of the stream.
bool classify(RfcText& text, const std::string& line, bool pageBreakSeen,
              const std::string& following = "")
{
    LineReader reader(following);
    LineSource source(reader);
    return classifyPageLine(text, source, line, skipBlanks(line, 0), pageBreakSeen);
}

RfcText nineties2616()
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

TEST(PageHeaders, RecognisedByNumberAndDateBeforeTheFirstFormFeed)
{
    const std::string header = "RFC 2616                        HTTP/1.1                       June 1999\n";
    RfcText text = nineties2616();
    text.lineCount = 16;
    text.pageCount = 1;
    EXPECT_TRUE(classify(text, header, false));
    ASSERT_EQ(text.pageMarks.size(), 1u);
    EXPECT_EQ(text.pageMarks[0].line, 16);
    EXPECT_EQ(text.pageMarks[0].page, 1);
    EXPECT_TRUE(text.pageMarks[0].isHeader);
    EXPECT_EQ(text.headerLine, header);

    RfcText other = nineties2616();
    other.rfcNumber = 2617;
    EXPECT_FALSE(classify(other, header, false)) << "another RFC's number is no header";
    EXPECT_TRUE(classify(other, header, true)) << "after a form feed any RFC line is a header";
    EXPECT_FALSE(classify(other, "RFCs are documents\n", true)) << "the first word must be RFC exactly";

    // Once learned, the first header is recognised by equality alone.
    RfcText learned;
    learned.headerLine = header;
    EXPECT_TRUE(classify(learned, header, false));
    EXPECT_FALSE(classify(learned, "RFC 2616                        HTTP/1.1                       June 2000\n", false));

    RfcText wrongYear = nineties2616();
    wrongYear.year = 2000;
    EXPECT_FALSE(classify(wrongYear, header, false));
    EXPECT_TRUE(wrongYear.pageMarks.empty());
}

TEST(PageHeaders, TitleDayAndTypedLetterL)
{
    RfcText text = nineties2616();
    EXPECT_TRUE(classify(text, "RFC 2616   HTTP/1.1   June l999\n", false));

    RfcText titled = nineties2616();
    titled.year = 1998;
    EXPECT_TRUE(classify(titled, "RFC 2616 Hypertext Transfer Protocol -- HTTP/1.1 and more\n", false));

    RfcText old;
    old.rfcNumber = 1;
    old.year = 1969;
    old.month = "April";
    old.day = 7;
    EXPECT_FALSE(classify(old, "RFC 1                        Host Software                 8 April 1969\n", false));
    EXPECT_TRUE(classify(old, "RFC 1                        Host Software                 7 April 1969\n", false));
    EXPECT_TRUE(classify(old, "RFC 1                        Host Software                 Apr 7, 1969\n", false));
}

TEST(PageFooters, NinetiesEtAlFooterAndLearnedPrefix)
{
    RfcText text = nineties2616();
    const std::string footer = "Fielding, et al.            Standards Track                     [Page 1]\n";
    text.lineCount = 14;
    EXPECT_TRUE(classify(text, footer, false));
    EXPECT_FALSE(text.pageMarks.back().isHeader);
    EXPECT_EQ(text.footerPrefix, "Fielding, et al.            Standards Track                     [Page ");

    // Once learned, the prefix alone recognises later footers.
    text.authors.clear();
    EXPECT_TRUE(classify(text, "Fielding, et al.            Standards Track                     [Page 42]\n", false));
    EXPECT_EQ(text.pageMarks.size(), 2u);
}

TEST(PageFooters, OldModernAndTwoAuthorStyles)
{
    RfcText old;
    old.authors = {{"Steve Crocker", "UCLA"}};
    EXPECT_TRUE(classify(old, "Crocker                                                        [Page 1]\n", false));
    old.footerPrefix.clear();
    old.pageCount = 3;
    EXPECT_FALSE(classify(old, "Crocker                                                        [Page 1]\n", false))
        << "a page number other than the current page's is no sign";
    EXPECT_TRUE(classify(old, "Crocker                                                        [Page 4]\n", false));

    RfcText modern;
    modern.authors = {{"E. Rescorla", "Mozilla"}};
    modern.category = "Standards Track";
    modern.pageCount = 10;
    EXPECT_TRUE(classify(modern, "Rescorla                     Standards Track                    [Page 1]\n", false))
        << "one author followed by the category";

    RfcText pair;
    pair.authors = {{"Smith", "ACME"}, {"Jones", "Widgets"}};
    pair.pageCount = 5;
    EXPECT_TRUE(classify(pair, "Smith & Jones                 Informational                     [Page 2]\n", false));
    pair.footerPrefix.clear();
    EXPECT_FALSE(classify(pair, "Smithers                      Informational\n", false));
}

TEST(PageFooters, EmptyFirstAuthorNameOnlyAcceptsThisPageNumber)
{
    // Old RFCs whose right column starts with an organisation leave the
    // first author without a name; body lines must not become footers.
    RfcText text;
    text.authors = {{"", "DARPA INTERNET PROGRAM"}};
    EXPECT_FALSE(classify(text, "Similarly, whenever a multi-octet field\n", false, "next\n"));
    EXPECT_FALSE(classify(text, "& more\n", false, "next\n"));
    EXPECT_TRUE(classify(text, "Postel                                [Page 1]\n", false, "next\n"));
}

TEST(PageFooters, FormFeedTestAndIndentedLines)
{
    RfcText text;
    EXPECT_TRUE(classify(text, "Anyone                  Some text\n", false, "\fRFC 1\n"));
    text.footerPrefix.clear();
    EXPECT_FALSE(classify(text, "Anyone                  Some text\n", false, ""))
        << "the end of the file is no form feed";
    EXPECT_FALSE(classify(text, "Anyone                  Some text\n", false, "next\n"));

    RfcText authored;
    authored.authors = {{"A. Author", "Org"}};
    EXPECT_FALSE(classify(authored, "   indented text\n", false, "\f\n"))
        << "an indented line without [Page is neither header nor footer";
    EXPECT_TRUE(classify(authored, "                                  [Page 1]\n", false));
    EXPECT_FALSE(classify(authored, "\n", true, "\f"));
    EXPECT_FALSE(classify(authored, "\fRFC 1\n", true));
}

TEST(PageBreaks, NinetiesRfcMarksAndStatistics)
{
    const auto result = analyseLines(nineties());
    const RfcText& text = result.text;
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(text.pageEnds, (std::vector<int32_t>{-1, 14, 27, 39}));
    EXPECT_EQ(text.pageCount, 3);
    ASSERT_EQ(text.pageMarks.size(), 5u);
    const int32_t lines[] = {14, 16, 27, 29, 39};
    const int32_t pages[] = {0, 1, 1, 2, 2};
    const bool headers[] = {false, true, false, true, false};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(text.pageMarks[i].line, lines[i]) << i;
        EXPECT_EQ(text.pageMarks[i].page, pages[i]) << i;
        EXPECT_EQ(text.pageMarks[i].isHeader, headers[i]) << i;
    }
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
}

TEST(PageBreaks, PageWithoutHeaderOrFooterAndTextToTheFormFeed)
{
    const RfcText text = analyseLines({"Request for Comments: 5", "", "Title", "", "Intro", "",
                                       "   text", "   more", "\f", "   next page", "\f"})
                             .text;
    EXPECT_EQ(text.pageEnds, (std::vector<int32_t>{-1, 8, 10}));
    EXPECT_TRUE(text.pageMarks.empty());
    EXPECT_EQ(text.linesBeforeHeader, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(text.linesFromFooter, (std::vector<int32_t>{0, 0})) << "no footer mark at all";
    EXPECT_EQ(text.blankAfterHeader, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(text.blankBeforeFooter, (std::vector<int32_t>{0, 0}));
}

// A front matter, a title, blank lines up to line 55, lines 56 to 58, and an
// unindented line that starts with RFC.
std::vector<std::string> pageWithLine58(const std::string& line56, const std::string& line57,
                                        const std::string& line58)
{
    std::vector<std::string> lines = {"Request for Comments: 5", "", "Title", ""};
    while (lines.size() < 55)
        lines.push_back("");
    lines.push_back(line56);
    lines.push_back(line57);
    lines.push_back(line58);
    lines.push_back("");
    lines.push_back("RFC 77 Other");
    return lines;
}

TEST(PageBreaks, BoundaryDependsOnWhereTheFormFeedIsMet)
{
    const RfcText between = analyseLines(pageWithLine58("", "", "\f")).text;
    EXPECT_EQ(between.pageEnds, (std::vector<int32_t>{-1, 57}));
    EXPECT_EQ(between.pageCount, 1);
    ASSERT_EQ(between.pageMarks.size(), 1u) << "after the form feed any RFC line is a header";
    EXPECT_EQ(between.pageMarks[0].line, 60);

    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    const RfcText inside =
        analyseLines(pageWithLine58("Heading", "over", "\fthree lines"), headingsOnly).text;
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
    EXPECT_TRUE(single.linesBeforeHeader.empty());
    EXPECT_TRUE(single.pageEndsNoHeaders.empty());
}

TEST(LineMapping, NinetiesValuesForEachHideState)
{
    RfcText text = analyseLines(nineties()).text;
    EXPECT_EQ(fileLineToDisplay(text, 18), 18) << "nothing hidden";

    text.hideHeaders = true;
    EXPECT_EQ(fileLineToDisplay(text, 18), 17);
    EXPECT_EQ(fileLineToDisplay(text, 16), 15) << "a hidden header shares the line before it";
    text.hideBlankLines = true;
    EXPECT_EQ(fileLineToDisplay(text, 18), 16);

    text.hideHeaders = false;
    text.hideBlankLines = false;
    text.hideFooters = true;
    EXPECT_EQ(fileLineToDisplay(text, 18), 16);
    EXPECT_EQ(fileLineToDisplay(text, 31), 27);

    text.hideHeaders = true;
    EXPECT_EQ(fileLineToDisplay(text, 31), 24);
    EXPECT_EQ(displayLineToFile(text, 24), 31);

    text.isIndex = true;
    EXPECT_EQ(fileLineToDisplay(text, 31), 31);
    EXPECT_EQ(displayLineToFile(text, 31), 31);
}

bool isBoundary(const std::vector<int32_t>& table, int32_t line)
{
    return std::find(table.begin(), table.end(), line) != table.end();
}

TEST(LineMapping, DisplayToFileToDisplayRoundTrip)
{
    for (const bool keepSpaces : {false, true}) {
        AnalysisOptions options;
        options.disableSpacesNearHeaderAndFooter = !keepSpaces;
        RfcText text = analyseLines(nineties(), options).text;
        for (int state = 1; state < 8; ++state) {
            text.hideHeaders = state & 1;
            text.hideFooters = state & 2;
            text.hideBlankLines = state & 4;
            if (keepSpaces && text.hideBlankLines)
                continue; // the boundaries then keep the blank lines their pages hide
            const std::vector<int32_t>& table = text.hideHeaders
                ? (text.hideFooters ? text.pageEndsNoHeadersFooters : text.pageEndsNoHeaders)
                : text.pageEndsNoFooters;
            for (int32_t shown = 1; shown <= 40; ++shown) {
                const int32_t file = displayLineToFile(text, shown);
                const int32_t back = fileLineToDisplay(text, file);
                if (!isBoundary(table, shown)) {
                    EXPECT_EQ(back, shown) << "state " << state << " keepSpaces " << keepSpaces
                                           << " line " << shown;
                } else {
                    // A shown boundary line maps to the file line that ends
                    // its page, which the way back may count on the next page.
                    EXPECT_TRUE(back == shown || back == shown + 1)
                        << "state " << state << " keepSpaces " << keepSpaces << " line " << shown;
                }
            }
        }
    }
}

TEST(LineMapping, MissingStatisticsCountAsZero)
{
    // The analysis stopped before the statistics: the mappings still answer.
    RfcText text;
    text.pageEnds = {-1, 10, 20};
    text.hideHeaders = true;
    text.hideFooters = true;
    EXPECT_EQ(fileLineToDisplay(text, 15), 5);
    EXPECT_EQ(displayLineToFile(text, 5), 15);
}

TEST(PageTree, ChoosesThePageThatHoldsTheLine)
{
    const std::vector<int64_t> pages = {0, 15, 28};
    EXPECT_EQ(pageItemForLine(pages, 0), 0);
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
