// What the record dump cannot show: the line mappings and lookups the view
// makes over a record, and the references title test. A record analysed
// twice: fresh_record_test.cpp; the rest of the analysis: golden_test.py.
#include "analysis/references.h"
#include "analysis/section_lookup.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

// Three pages, each with a footer, the last two with a header; see
// golden/nineties.json for the record.
RfcText nineties(const AnalysisOptions& options = {})
{
    return test::analyseBytes(test::goldenBytes("nineties.txt"), options).text;
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
        {true, false, true, 18, 16},   {false, true, true, 18, 16},
        {false, true, true, 31, 27},   {true, true, true, 31, 23},
    };
    RfcText text = nineties();
    ASSERT_EQ(text.pageEnds, (std::vector<int32_t>{-1, 14, 27, 39}));
    for (const Case& c : cases) {
        EXPECT_EQ(test::shownOfNumber(text, {c.headers, c.footers, c.blanks}, c.fileLine).number(), c.shown)
            << c.fileLine;
    }
    const LineCuts both{true, true, true};
    EXPECT_EQ(fileLineOf(text, both, ShownLine::atNumber(23)).number(), 31);
    text.isIndex = true;
    EXPECT_EQ(test::shownOfNumber(text, both, 31).number(), 31);
    EXPECT_EQ(fileLineOf(text, both, ShownLine::atNumber(31)).number(), 31);

    // The analysis stopped before the statistics: nothing is known to be
    // hidden, so nothing moves.
    RfcText unfinished;
    unfinished.pageEnds = {-1, 10, 20};
    unfinished.lineCount = 20;
    EXPECT_EQ(test::shownOfNumber(unfinished, {true, true, false}, 15).number(), 15);
    EXPECT_EQ(fileLineOf(unfinished, {true, true, false}, ShownLine::atNumber(15)).number(), 15);
}

// A page chosen in the Navigator begins at the first line of its text, under
// a cut header as without one.
TEST(LineMapping, FirstShownLineFromAHiddenHeaderIsTheLineBelowIt)
{
    const RfcText text = nineties();
    const LineCuts headers{true, false, false};
    const ShownLine formFeed = test::shownOfNumber(text, headers, 15);
    EXPECT_EQ(firstShownLineFrom(text, headers, FileLine::atNumber(16)), formFeed.next());
    EXPECT_EQ(fileLineOf(text, headers, formFeed.next()).number(), 17);
}

TEST(LineMapping, FirstShownLineFromAShownLineIsItsOwn)
{
    const RfcText text = nineties();
    const LineCuts both{true, true, true};
    for (const int32_t number : {1, 18, 31})
        EXPECT_EQ(firstShownLineFrom(text, both, FileLine::atNumber(number)),
                  test::shownOfNumber(text, both, number))
            << number;
}

TEST(LineMapping, FirstShownLineFromAHiddenFooterIsThePageBoundary)
{
    const RfcText text = nineties();
    const LineCuts footers{false, true, true};
    // The footer of the first page ends at its form feed, file line 15.
    EXPECT_EQ(firstShownLineFrom(text, footers, FileLine::atNumber(14)),
              test::shownOfNumber(text, footers, 15));
}

TEST(LineMapping, ShownToFileToShownRoundTrip)
{
    test::expectShownLinesRoundTrip(nineties());
    // Kept beside their headers and footers, hidden blank lines stay in the
    // page boundaries, so that state has no round trip.
    AnalysisOptions keepSpaces;
    keepSpaces.disableSpacesNearHeaderAndFooter = false;
    test::expectShownLinesRoundTrip(nineties(keepSpaces), false);
}

TEST(Lookups, ContentEntryAndSectionForEveryHideState)
{
    RfcText text = nineties();
    ASSERT_EQ(text.contents.size(), 3u);
    for (int state = 0; state < 8; ++state) {
        const LineCuts cuts{(state & 1) != 0, (state & 2) != 0, (state & 4) != 0};
        for (int32_t i = 0; i < 3; ++i) {
            const ContentEntry& entry = text.contents[static_cast<std::size_t>(i)];
            int32_t found = -7;
            EXPECT_TRUE(
                findContentEntryAtLine(text, cuts, test::shownOfNumber(text, cuts, entry.lastLine), found));
            EXPECT_EQ(found, i) << "state " << state;
            EXPECT_TRUE(
                findSectionAtLine(text, cuts, test::shownOfNumber(text, cuts, entry.headingLine), found));
            EXPECT_EQ(found, i) << "state " << state;
        }
        int32_t found = -7;
        EXPECT_FALSE(findSectionAtLine(text, cuts, test::shownOfNumber(text, cuts, 24), found));
        EXPECT_EQ(found, -1);
        EXPECT_TRUE(findSectionAtLine(text, cuts, test::shownOfNumber(text, cuts, 33), found));
        EXPECT_EQ(found, 1);
    }
    int32_t found = 0;
    EXPECT_TRUE(findContentEntryAtLine(text, {true, true, true},
                                       test::shownOfNumber(text, {true, true, true}, 22), found));
    EXPECT_EQ(found, 2) << "the first line of a two-line entry";

    RfcText index;
    index.isIndex = true;
    index.indexEntries = {RfcIndexEntry{1, 10, 12, "One"}, RfcIndexEntry{2, 14, 20, "Two"}};
    EXPECT_TRUE(findContentEntryAtLine(index, {}, ShownLine::atNumber(12), found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(findContentEntryAtLine(index, {}, ShownLine::atNumber(13), found));
    EXPECT_TRUE(findSectionAtLine(index, {}, ShownLine::atNumber(500), found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(findSectionAtLine(index, {}, ShownLine::atNumber(9), found));
}

TEST(ReferencesTitle, AcceptsTheThreeTitlesAloneOrAfterAnAppendixMark)
{
    for (const char* title : {"REFERENCES", "informative references", "APPENDIX  b)\tNormative References",
                              "Appendix 12 References"})
        EXPECT_TRUE(isReferencesTitle(title)) << title;
    for (const char* title : {"", "9. References", "References ", "References and Notes",
                              "Normative  References", "Appendix A.1 References", "Appendix AB References"})
        EXPECT_FALSE(isReferencesTitle(title)) << title;
}

} // namespace
} // namespace parchly
