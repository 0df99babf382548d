// Whether two analyses gave the same record: every field the analysis
// fills, compared one by one so that a failure names the field.
#ifndef PARCHLY_TESTS_ANALYSIS_RECORD_EQUALITY_H
#define PARCHLY_TESTS_ANALYSIS_RECORD_EQUALITY_H

#include "analysis/rfc_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace parchly {

// Found by argument-dependent lookup, for the vectors of sub-records.
inline bool operator==(const ContentEntry& a, const ContentEntry& b)
{
    return std::tie(a.firstLine, a.lastLine, a.number, a.title, a.page, a.headingLine, a.matched)
        == std::tie(b.firstLine, b.lastLine, b.number, b.title, b.page, b.headingLine, b.matched);
}
inline bool operator==(const SectionHeading& a, const SectionHeading& b)
{
    return std::tie(a.line, a.number, a.title) == std::tie(b.line, b.number, b.title);
}
inline bool operator==(const PageMark& a, const PageMark& b)
{
    return std::tie(a.line, a.page, a.isHeader) == std::tie(b.line, b.page, b.isHeader);
}
inline bool operator==(const ReferenceEntry& a, const ReferenceEntry& b)
{
    return std::tie(a.rfc, a.firstLine, a.lastLine, a.linkLine, a.linkStart, a.linkEnd, a.label, a.title,
                    a.section)
        == std::tie(b.rfc, b.firstLine, b.lastLine, b.linkLine, b.linkStart, b.linkEnd, b.label, b.title,
                    b.section);
}
inline bool operator==(const CitationMark& a, const CitationMark& b)
{
    return std::tie(a.line, a.startColumn, a.endColumn, a.reference)
        == std::tie(b.line, b.startColumn, b.endColumn, b.reference);
}
inline bool operator==(const AuthorEntry& a, const AuthorEntry& b)
{
    return std::tie(a.name, a.organisation) == std::tie(b.name, b.organisation);
}
inline bool operator==(const RfcIndexEntry& a, const RfcIndexEntry& b)
{
    return std::tie(a.number, a.firstLine, a.lastLine, a.title)
        == std::tie(b.number, b.firstLine, b.lastLine, b.title);
}

namespace test {

inline void expectSameAnalysis(const RfcText& a, const RfcText& b)
{
#define PARCHLY_EXPECT_SAME(field) EXPECT_TRUE(a.field == b.field) << #field
    PARCHLY_EXPECT_SAME(titleLine);
    PARCHLY_EXPECT_SAME(title);
    PARCHLY_EXPECT_SAME(contents);
    PARCHLY_EXPECT_SAME(headings);
    PARCHLY_EXPECT_SAME(pageMarks);
    PARCHLY_EXPECT_SAME(pageEnds);
    PARCHLY_EXPECT_SAME(linesBeforeHeader);
    PARCHLY_EXPECT_SAME(linesFromFooter);
    PARCHLY_EXPECT_SAME(blankAfterHeader);
    PARCHLY_EXPECT_SAME(blankBeforeFooter);
    PARCHLY_EXPECT_SAME(pageEndsNoHeaders);
    PARCHLY_EXPECT_SAME(pageEndsNoFooters);
    PARCHLY_EXPECT_SAME(pageEndsNoHeadersFooters);
    PARCHLY_EXPECT_SAME(pageCount);
    PARCHLY_EXPECT_SAME(isIndex);
    PARCHLY_EXPECT_SAME(referencesWithoutTitles);
    PARCHLY_EXPECT_SAME(references);
    PARCHLY_EXPECT_SAME(citations);
    PARCHLY_EXPECT_SAME(currentEntry);
    PARCHLY_EXPECT_SAME(indexEntries);
    PARCHLY_EXPECT_SAME(structureFromText);
    PARCHLY_EXPECT_SAME(lineCount);
    PARCHLY_EXPECT_SAME(groupLine);
    PARCHLY_EXPECT_SAME(rfcNumber);
    PARCHLY_EXPECT_SAME(authors);
    PARCHLY_EXPECT_SAME(category);
    PARCHLY_EXPECT_SAME(updates);
    PARCHLY_EXPECT_SAME(obsoletes);
    PARCHLY_EXPECT_SAME(obsoletesList);
    PARCHLY_EXPECT_SAME(updatesList);
    PARCHLY_EXPECT_SAME(stdNumber);
    PARCHLY_EXPECT_SAME(bcpNumber);
    PARCHLY_EXPECT_SAME(fyiNumber);
    PARCHLY_EXPECT_SAME(day);
    PARCHLY_EXPECT_SAME(month);
    PARCHLY_EXPECT_SAME(year);
    PARCHLY_EXPECT_SAME(headerLine);
    PARCHLY_EXPECT_SAME(footerPrefix);
#undef PARCHLY_EXPECT_SAME
}

} // namespace test
} // namespace parchly

#endif
