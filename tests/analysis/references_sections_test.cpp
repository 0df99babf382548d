// Where the references sections of a text are: the heading shapes of
// several decades, each after a blank line, and the margin line that ends
// the section.
#include "analysis/references_sections.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parchly {
namespace {

// The sections of `text` read with no page lines and no contents.
std::vector<ReferencesSection> sectionsOf(const std::string& text)
{
    const LineReader lines{text};
    return findReferencesSections(RfcText(), lines, std::vector<uint8_t>(lines.lineTotal(), 0));
}

// The text holds one references section, opened at line `heading`.
void expectOneSectionOpeningAt(const std::string& text, int heading)
{
    const std::vector<ReferencesSection> sections = sectionsOf(text);
    ASSERT_EQ(sections.size(), 1u) << text;
    EXPECT_EQ(sections[0].heading, heading) << text;
}

// Heading shapes of several decades, what their lines may end in, and
// lines close to them that are body text.
class ReferencesHeadings : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(ReferencesHeadings, OpenASectionAfterABlankLine)
{
    const std::string text = std::string("1.  Introduction\n\n   Body text, with [1] cited.\n\n")
        + GetParam()["heading"]
        + "\n\n   [1]  Postel, J., \"Internet Protocol\", RFC 791.\n\nAuthor's Address\n\n   Somewhere\n";
    const std::vector<ReferencesSection> sections = sectionsOf(text);
    if (GetParam().number("opens") == 0) {
        EXPECT_TRUE(sections.empty());
        return;
    }
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].heading, 4);
    // The author's address, at the margin after a blank line, ends it.
    EXPECT_EQ(sections[0].end, 8);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReferencesHeadings,
                         testing::ValuesIn(test::readFixtureCases("analysis/references-headings.txt")),
                         test::caseName);

// Texts that centre their chapters centre a numbered references heading
// too, and may open it with a paragraph before the entries (RFC 3501's
// "A.      Normative References" shape).
TEST(ReferencesSections, CentredNumberedHeadingOpensWhereEntriesFollowItsParagraph)
{
    expectOneSectionOpeningAt(
        "   Body.\n\n                    A.  NORMATIVE REFERENCES\n\n   The documents below are"
        "\n   needed:\n   [ABNF]  Crocker, D., \"ABNF\".\n\nAuthor's Address\n",
        2);
}

// Indented like a list inside the body, a numbered "References" line with
// no entry after it is text.
TEST(ReferencesSections, CentredNumberedHeadingWithoutEntriesOpensNone)
{
    EXPECT_TRUE(sectionsOf("   The sections are:\n\n          9.  References\n\n   and no more.\n\n"
                           "Author's Address\n\n   [1]  Not an entry.\n")
                    .empty());
}

TEST(ReferencesSections, HeadingAfterTextOpensNone)
{
    EXPECT_TRUE(sectionsOf("   Body text runs on\nReferences\n\n   [1]  An entry.\n").empty());
}

// The heading as the last bytes of the text, with no line end: fewer
// bytes than a block of the search are left.
TEST(ReferencesSections, HeadingEndingTheTextOpensASection)
{
    for (const char* heading : {"References", "BIBLIOGRAPHY"})
        expectOneSectionOpeningAt(std::string("   Body text.\n\n") + heading, 2);
}

// A heading on the text's first lines, or after a line of one byte: the
// lines near the start have fewer bytes before their end to read.
TEST(ReferencesSections, HeadingOnTheFirstLinesOpensASection)
{
    const std::string entries = "\n\n   [1]  An entry.\n\nAuthor's Address\n";
    expectOneSectionOpeningAt("References" + entries, 0);
    expectOneSectionOpeningAt("\nREFERENCES:" + entries, 1);
    expectOneSectionOpeningAt("x\n\nBibliography" + entries, 2);
}

// Two sections: the second opens at the line that ends the first.
TEST(ReferencesSections, LineEndingOneSectionMayOpenTheNext)
{
    const std::vector<ReferencesSection> sections =
        sectionsOf("Normative References\n\n   [1]  One.\n\nAppendix A.  Notes\n\n   Text.\n\n"
                   "Bibliography\n\n   [2]  Two.\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].heading, 0);
    EXPECT_EQ(sections[0].end, 4);
    EXPECT_EQ(sections[1].heading, 8);
    EXPECT_EQ(sections[1].end, 11);
}

} // namespace
} // namespace parchly
