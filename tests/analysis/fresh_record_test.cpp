// Every analysis gives the same record whatever the record held before (the
// CR LF files of the corpus give the record of their LF form: corpus_test.cpp).
#include "analysis/references.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly {
namespace {

using test::analyseBytes;

// A text whose first body line is the page header of the nineties RFC,
// which is no header here: this RFC has another number and no page break.
const char* const kCarryingAnotherHeader = "Request for Comments: 5\n\nOther\n\nRFC 2616                     "
                                           "   HTTP/1.1                       June 1999\n";

TEST(FreshRecord, ReanalysisIntoAUsedRecordEqualsAFreshAnalysis)
{
    AnalysisOptions withoutReferences;
    withoutReferences.disableReferenceAnalysis = true;
    const std::string nineties = test::goldenBytes("nineties.txt");
    const std::string citing = test::goldenBytes("references.txt");
    struct Case {
        const char* what;
        std::string first;
        std::string second;
        AnalysisOptions secondOptions;
    };
    const Case cases[] = {
        {"a header learned from the first text", nineties, kCarryingAnotherHeader, {}},
        {"the other order", kCarryingAnotherHeader, nineties, {}},
        {"references turned off", citing, citing, withoutReferences},
        {"references, then none found", citing, nineties, {}},
        {"no references, then some", nineties, citing, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RfcText reused;
        LineReader first(c.first);
        ASSERT_TRUE(analyseText(reused, &first, LimitsBlock(), AnalysisOptions()));
        LineReader second(c.second);
        ASSERT_TRUE(analyseText(reused, &second, LimitsBlock(), c.secondOptions));
        test::expectSameAnalysis(reused, analyseBytes(c.second, c.secondOptions).text);
    }
    // The cases above compare something: the texts do leave what a stale
    // record would keep.
    EXPECT_FALSE(analyseBytes(citing).text.citations.empty());
    EXPECT_FALSE(analyseBytes(nineties).text.headerLine.empty());
}

TEST(FreshRecord, NoTextLeavesTheRecordAloneAndTheIndexKeepsNoReferences)
{
    RfcText text;
    text.title = "kept";
    EXPECT_FALSE(analyseText(text, nullptr, LimitsBlock(), AnalysisOptions()));
    EXPECT_EQ(text.title, "kept");

    // The references pass refuses the index, whose record it would spoil.
    LineReader again(test::goldenBytes("references.txt"));
    RfcText index = analyseBytes(test::goldenBytes("references.txt")).text;
    index.isIndex = true;
    index.references.clear();
    EXPECT_FALSE(analyseReferences(index, &again, AnalysisOptions()));
    EXPECT_TRUE(index.references.empty());
}

} // namespace
} // namespace parchly
