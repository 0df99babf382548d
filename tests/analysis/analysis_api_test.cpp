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
        {true, false, true, 18, 16},   {false, true, false, 18, 16},
        {false, true, false, 31, 27},  {true, true, false, 31, 24},
    };
    RfcText text = nineties();
    ASSERT_EQ(text.pageEnds, (std::vector<int32_t>{-1, 14, 27, 39}));
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
        text.hideHeaders = state & 1;
        text.hideFooters = state & 2;
        text.hideBlankLines = state & 4;
        for (int32_t i = 0; i < 3; ++i) {
            const ContentEntry& entry = text.contents[static_cast<std::size_t>(i)];
            int32_t found = -7;
            EXPECT_TRUE(findContentEntryAtLine(text, fileLineToDisplay(text, entry.lastLine), found));
            EXPECT_EQ(found, i) << "state " << state;
            EXPECT_TRUE(findSectionAtLine(text, fileLineToDisplay(text, entry.headingLine), found));
            EXPECT_EQ(found, i) << "state " << state;
        }
        int32_t found = -7;
        EXPECT_FALSE(findSectionAtLine(text, fileLineToDisplay(text, 24), found));
        EXPECT_EQ(found, -1);
        EXPECT_TRUE(findSectionAtLine(text, fileLineToDisplay(text, 33), found));
        EXPECT_EQ(found, 1);
    }
    int32_t found = 0;
    EXPECT_TRUE(findContentEntryAtLine(text, fileLineToDisplay(text, 22), found));
    EXPECT_EQ(found, 2) << "the first line of a two-line entry";

    RfcText index;
    index.isIndex = true;
    index.indexEntries = {RfcIndexEntry{1, 10, 12, "One"}, RfcIndexEntry{2, 14, 20, "Two"}};
    EXPECT_TRUE(findContentEntryAtLine(index, 12, found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(findContentEntryAtLine(index, 13, found));
    EXPECT_TRUE(findSectionAtLine(index, 500, found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(findSectionAtLine(index, 9, found));
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
