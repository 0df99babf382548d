// Where a line stands on its printed page: a running header at the top of
// its page, a running footer at the bottom, as the same line (digits aside)
// stands on the page before or after; first, middle and last pages, the
// last one with no form feed after it.
#include "analysis/page_layout.h"
#include "analysis_support.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace parchly {
namespace {

constexpr const char* kPages = "Title page text\n"
                               "\n"
                               "Smith                 Informational                 [Page 1]\n"
                               "\f\n"
                               "RFC 9999            A Short Title               May 2020\n"
                               "\n"
                               "   Body text of the second page, [Page 7] quoted.\n"
                               "\n"
                               "Smith                 Informational                 [Page 2]\n"
                               "\f\n"
                               "RFC 9999            A Short Title               May 2020\n"
                               "\n"
                               "   Body text of the last page.\n"
                               "\n"
                               "Smith                 Informational                 [Page 3]";

// The line that starts with `start`, from line `from` on.
std::size_t lineStarting(const LineReader& reader, const std::string& start, std::size_t from = 0)
{
    for (std::size_t i = from; i < reader.lineTotal(); ++i) {
        if (reader.lineAt(i).substr(0, start.size()) == start)
            return i;
    }
    ADD_FAILURE() << start;
    return 0;
}

// The form-feed line nearest above line `index`, as the reading passes
// know it when they reach the line.
std::optional<std::size_t> feedAbove(const LineReader& reader, std::size_t index)
{
    std::optional<std::size_t> feed;
    for (const std::size_t line : reader.formFeedLines()) {
        if (line < index)
            feed = line;
    }
    return feed;
}

// One line printed at both edges of every page: the place of each copy
// makes it a header or a footer, though it repeats the running line
// learned first (a page number aside, '#').
class EdgesOfEveryPage : public testing::TestWithParam<const char*> { };

TEST_P(EdgesOfEveryPage, RunByTheirPlace)
{
    const std::string edge = GetParam();
    const auto page = [&](int number) {
        std::string line = edge;
        if (const std::size_t at = line.find('#'); at != std::string::npos)
            line.replace(at, 1, std::to_string(number));
        return line + "\n";
    };
    const std::string text = "Title page text\n\n" + page(1) + "\f\n" + page(2) + "\n   Body text two.\n\n"
        + page(2) + "\f\n" + page(3) + "\n   Body text three.\n\n" + page(3);
    const test::Analysed analysed = test::analyseBytes(text);
    std::vector<bool> headers;
    for (const PageMark& mark : analysed.text.pageMarks)
        headers.push_back(mark.isHeader);
    EXPECT_EQ(headers, (std::vector<bool>{true, false, true, false}));
}

INSTANTIATE_TEST_SUITE_P(PageLayout, EdgesOfEveryPage,
                         testing::Values("RFC 9999            A Short Title               May 2020",
                                         "Smith                 Informational                 [Page #]"));

TEST(PageLayout, RunningLinesAtTheTopAndBottomOfEveryPage)
{
    const LineReader reader{std::string(kPages)};
    PageLayout layout(reader);
    const auto at = [&](std::size_t index) { return layout.runningLineAt(index, feedAbove(reader, index)); };
    const std::size_t firstHeader = lineStarting(reader, "RFC 9999");
    const std::size_t lastHeader = lineStarting(reader, "RFC 9999", firstHeader + 1);
    const std::size_t firstFooter = lineStarting(reader, "Smith");
    const std::size_t middleFooter = lineStarting(reader, "Smith", firstFooter + 1);
    const std::size_t lastFooter = lineStarting(reader, "Smith", middleFooter + 1);
    ASSERT_EQ(lastFooter + 1, reader.lineTotal());
    EXPECT_EQ(at(firstHeader), RunningLine::kHeader);
    EXPECT_EQ(at(lastHeader), RunningLine::kHeader);
    EXPECT_EQ(at(firstFooter), RunningLine::kFooter);
    EXPECT_EQ(at(middleFooter), RunningLine::kFooter);
    // The end of the text closes the last page as a form feed would.
    EXPECT_EQ(at(lastFooter), RunningLine::kFooter);
    // Body lines, one naming a page, stand on no page edge.
    EXPECT_EQ(at(lineStarting(reader, "Title page")), RunningLine::kNone);
    EXPECT_EQ(at(lineStarting(reader, "   Body text of the second")), RunningLine::kNone);
    EXPECT_EQ(at(lineStarting(reader, "   Body text of the last")), RunningLine::kNone);
    // A line past the end of the text is none.
    EXPECT_EQ(at(reader.lineTotal()), RunningLine::kNone);
}

// Two pages' last lines: the first page's is a running footer only when the
// second page ends in the same line, each run of digits aside.
class RunningFooters : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(RunningFooters, AreTheSameLineDigitsAside)
{
    const test::FixtureCase& pair = GetParam();
    const std::string text = "   Text of the first page.\n\n" + pair["first"] + "\n\f\n"
        + "   Text of the second page.\n\n" + pair["second"] + "\n\f\n" + "   Text of the third page.\n";
    const LineReader reader{text};
    PageLayout layout(reader);
    EXPECT_EQ(layout.runningLineAt(2, std::nullopt),
              pair.number("footer") ? RunningLine::kFooter : RunningLine::kNone);
}

INSTANTIATE_TEST_SUITE_P(PageLayout, RunningFooters,
                         testing::ValuesIn(test::readFixtureCases("analysis/running-footers.txt")),
                         test::caseName);

// A footer stands at most ten blank lines above its form feed: a deeper
// margin is no page's bottom.
TEST(PageLayout, FooterStandsAtMostTenBlankLinesAboveTheFormFeed)
{
    for (const std::size_t blanks : {0, 1, 10, 11}) {
        std::string text;
        for (int page = 1; page <= 3; ++page) {
            text += "   Text of a page.\n\nSmith                 Informational                 [Page "
                + std::to_string(page) + "]\n" + std::string(page == 1 ? blanks : 1, '\n') + "\f\n";
        }
        const LineReader reader{text};
        PageLayout layout(reader);
        EXPECT_EQ(layout.runningLineAt(2, std::nullopt),
                  blanks <= 10 ? RunningLine::kFooter : RunningLine::kNone)
            << blanks << " blank lines";
    }
}

// "[Page " names a page only within one line as the passes read it: a
// line longer than the reader's buffer is read in pieces.
TEST(PageLayout, PageWordsAreFoundWithinTheLinesAsRead)
{
    const std::string cut = std::string(kLineBufferSize - 4, 'x') + "[Page 3]\n";
    const std::string whole = std::string(kLineBufferSize - 20, 'x') + "[page 3]\n";
    const LineReader reader{"   Text\n" + cut + whole + "   [Pages 3]\n"};
    PageLayout layout(reader);
    ASSERT_EQ(reader.lineTotal(), 5u);
    for (std::size_t line = 0; line < reader.lineTotal(); ++line)
        EXPECT_EQ(layout.namesPage(line), holdsPageWord(reader.lineAt(line))) << line;
    EXPECT_FALSE(layout.namesPage(1));
    EXPECT_FALSE(layout.namesPage(2));
    EXPECT_TRUE(layout.namesPage(3));
    EXPECT_FALSE(layout.namesPage(4));
}

// Pages with indented body lines, a quoted "[Page 4]", a form feed alone
// and one opening a line.
const char* const kIndentedPages = "Unindented\n"
                                   "   Indented body.\n"
                                   "   Quoting [Page 4] here.\n"
                                   "   Indented body again.\n"
                                   "   Last line of the page.\n"
                                   "\f\n"
                                   "   Top of the next page.\n"
                                   "\n"
                                   "   Body under it.\n"
                                   "\f   Words after a form feed.\n"
                                   "\n"
                                   "   Body to the end.\n"
                                   "   More body.\n"
                                   "   The end.\n";

// Only the whole indented line just read, inside its page, naming none and
// after no form feed, is passed at once; every other goes to the rules.
TEST(PageLayout, PassesAtOnceOnlyTheIndentedLineInsideItsPage)
{
    const LineReader source{kIndentedPages};
    LineReader reader = LineReader::borrowing(source.wholeText());
    PageLayout layout(reader);
    // The line right above a page's last line may open a footer of two
    // lines ("Expires ...", a list of authors): it is not passed at once;
    // nor is the last line above a form feed that opens a line.
    const std::vector<bool> passed = {false, true,  false, false, false, false, false,
                                      false, false, false, false, true,  false, false};
    ASSERT_EQ(reader.lineTotal(), passed.size());
    for (std::size_t i = 0; i < passed.size(); ++i) {
        const std::string_view line = *reader.nextLine();
        EXPECT_EQ(layout.indentedInsidePage(line, reader.factsOf(i).rest), passed[i]) << line;
    }
}

// A copy of a line, or a piece of it, is no line read: never passed at once.
TEST(PageLayout, PassesNoCopyOrPieceOfALineAtOnce)
{
    const LineReader source{kIndentedPages};
    LineReader reader = LineReader::borrowing(source.wholeText());
    PageLayout layout(reader);
    for (std::size_t i = 0; i < reader.lineTotal(); ++i) {
        const std::string_view line = *reader.nextLine();
        const std::size_t rest = reader.factsOf(i).rest;
        const std::string copy(line);
        EXPECT_FALSE(layout.indentedInsidePage(copy, rest)) << "a copy: " << line;
        EXPECT_FALSE(layout.indentedInsidePage(line.substr(0, line.size() - 1), rest)) << "a piece: " << line;
    }
}

// The page number printed alone at a page's foot, read whatever page it
// names; a line that says more, or a number too long for a page, is none.
class CentredPageNumbers : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(CentredPageNumbers, AreReadFromTheLineAlone)
{
    EXPECT_EQ(centredPageNumber(GetParam()["line"]), GetParam().number("number"));
}

INSTANTIATE_TEST_SUITE_P(PageLayout, CentredPageNumbers,
                         testing::ValuesIn(test::readFixtureCases("analysis/centred-page-numbers.txt")),
                         test::caseName);

// The page number in a column of a footer ("Smith   Page 3", RFC 822's
// "August 13, 1982   - 3 -   RFC #822"), read from the line alone; a
// number run into the words of a sentence is none.
class ColumnPageNumbers : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(ColumnPageNumbers, AreReadFromTheLineAlone)
{
    EXPECT_EQ(columnPageNumber(GetParam()["line"]), GetParam().number("number"));
}

INSTANTIATE_TEST_SUITE_P(PageLayout, ColumnPageNumbers,
                         testing::ValuesIn(test::readFixtureCases("analysis/column-page-numbers.txt")),
                         test::caseName);

// A text without form feeds whose pages are numbered centred alone, after
// `frontLines` lines of an unnumbered front part, `pageLines` lines apart.
std::string numberedPages(std::size_t frontLines, std::size_t pageLines)
{
    std::string text;
    for (std::size_t i = 0; i < frontLines; ++i)
        text += "   A line of the front part.\n";
    for (int page = 1; page <= 3; ++page) {
        for (std::size_t i = 0; i < pageLines; ++i)
            text += "   A line of the page.\n";
        text += "                                 - " + std::to_string(page) + " -\n";
    }
    return text;
}

// The numbers of the pages are a run, however far down they begin; the
// numbered steps of a list, a few lines apart, are none.
TEST(PageLayout, CentredNumbersAPageApartAreARunWhereverTheyBegin)
{
    for (const std::size_t front : {0, 320, 1000}) {
        const LineReader reader{numberedPages(front, 50)};
        PageLayout layout(reader);
        for (std::size_t line = 0; line < reader.lineTotal(); ++line)
            EXPECT_EQ(layout.numbersPageInRun(line), centredPageNumber(reader.lineAt(line)) > 0)
                << front << " " << line;
    }
    const LineReader steps{numberedPages(0, 3)};
    PageLayout layout(steps);
    for (std::size_t line = 0; line < steps.lineTotal(); ++line)
        EXPECT_FALSE(layout.numbersPageInRun(line)) << line;
}

} // namespace
} // namespace parchly
