#include "analysis/rfc_text.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(RfcText, ResetClearsWhatOneAnalysisFillsAndLeavesTheRest)
{
    RfcText text;
    EXPECT_EQ(text.currentEntry, -1);
    EXPECT_TRUE(text.pageEnds.empty());

    text.rfcNumber = 2616;
    text.title = "Hypertext Transfer Protocol";
    text.isIndex = true;
    text.currentEntry = 4;
    text.pageEnds = {-1, 57};
    text.pageEndsNoHeadersFooters = {-1, 50};
    text.hideHeaders = true;
    text.authors.push_back({"R. Fielding", "UC Irvine"});
    text.references.push_back(ReferenceEntry());
    text.citations.push_back(CitationMark());
    text.indexEntries.push_back(RfcIndexEntry());
    text.month = "June";
    text.day = 3;
    text.headerLine = "RFC 2616   HTTP/1.1   June 1999\n";
    text.footerPrefix = "Fielding, et al.   Standards Track   [Page ";

    text.reset();

    EXPECT_EQ(text.rfcNumber, 0);
    EXPECT_TRUE(text.title.empty());
    EXPECT_FALSE(text.isIndex);
    EXPECT_EQ(text.currentEntry, -1);
    EXPECT_TRUE(text.pageEnds.empty());
    EXPECT_TRUE(text.pageEndsNoHeadersFooters.empty());
    EXPECT_FALSE(text.hideHeaders);
    EXPECT_TRUE(text.authors.empty());

    EXPECT_EQ(text.references.size(), 1u);
    EXPECT_EQ(text.citations.size(), 1u);
    EXPECT_EQ(text.indexEntries.size(), 1u);
    EXPECT_EQ(text.month, "June");
    EXPECT_EQ(text.day, 3);
    EXPECT_FALSE(text.headerLine.empty());
    EXPECT_FALSE(text.footerPrefix.empty());
}

} // namespace
} // namespace parchly
