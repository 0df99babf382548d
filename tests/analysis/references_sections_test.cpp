// Where the references sections of a text are: the heading shapes of
// several decades, each after a blank line, and the margin line that ends
// the section.
#include "analysis_support.h"

#include "analysis/references_sections.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace parchly {
namespace {

struct HeadingCase {
    const char* heading;
    bool opens;
};

void PrintTo(const HeadingCase& heading, std::ostream* out)
{
    *out << '"' << heading.heading << '"';
}

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

// Heading shapes of several decades, and lines close to them that are
// body text.
const HeadingCase kHeadingShapes[] = {
    {"7.  References", true},
    {"REFERENCES", true},
    {"                              REFERENCES", true},
    {"                    7.  REFERENCES", true},
    {"Bibliography", true},
    {"  BIBLIOGRAPHY:", true},
    {"A. Normative References", true},
    {"7.  References and Notes", true},
    {"Appendix B - Informative References", true},
    {"9. REFERENCES and BIBLIOGRAPHY", true},
    {"Normative and Informative References", true},
    {"Works Cited", true},
    {"   The references below are informative.", false},
    {"   See the references", false},
    {"8.  Security Considerations", false},
    {"Referencing", false},
};

// What a heading's line may end in after its words; the last letters of a
// heading's words, and none of them.
const HeadingCase kHeadingEnds[] = {
    {"7.  References  ", true},   {"REFERENCES CITED:", true},
    {"7.  References\r\r", true}, {"7.  Notes", false},
    {"References.", true},        {"Bibliography\t", true},
    {"Differences", false},       {"Cited", false},
    {"References Cited", true},   {"BIBLIOGRAPHY", true},
};

// An appendix without a name; a qualifier of the text's own, or a heading
// indented past a blank or two, where the entries follow.
const HeadingCase kQualifiedHeadings[] = {
    {"Appendix References", true},
    {"Additional References", true},
    {"9.  Selected Bibliography", true},
    {"    7.  References", true},
};

class ReferencesHeadings : public testing::TestWithParam<HeadingCase> { };

TEST_P(ReferencesHeadings, OpenASectionAfterABlankLine)
{
    const std::string text = std::string("1.  Introduction\n\n   Body text, with [1] cited.\n\n")
        + GetParam().heading
        + "\n\n   [1]  Postel, J., \"Internet Protocol\", RFC 791.\n\nAuthor's Address\n\n   Somewhere\n";
    const std::vector<ReferencesSection> sections = sectionsOf(text);
    if (!GetParam().opens) {
        EXPECT_TRUE(sections.empty());
        return;
    }
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].heading, 4);
    // The author's address, at the margin after a blank line, ends it.
    EXPECT_EQ(sections[0].end, 8);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ReferencesHeadings, testing::ValuesIn(kHeadingShapes));
INSTANTIATE_TEST_SUITE_P(LineEnds, ReferencesHeadings, testing::ValuesIn(kHeadingEnds));
INSTANTIATE_TEST_SUITE_P(Qualified, ReferencesHeadings, testing::ValuesIn(kQualifiedHeadings));

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

// An entry opens at a label first on its line: after the indentation, a
// form feed before it or within it; a line whose first byte after its
// indentation is no bracket goes on the entry before.
TEST(ReferenceEntries, OpenAtALabelAfterAFormFeedOrTheIndentation)
{
    const RfcText text =
        test::analyseBytes("Title\n\n1.  Introduction\n\n   See [1] and [2].\n\n2.  References\n\n"
                           "   [1]  One, \"First\", RFC 1.\n\f   [2]  Two, \"Second\", RFC 2.\n"
                           "   \f[3]  Three, \"Third\",\n        RFC 3.\n")
            .text;
    ASSERT_EQ(text.references.size(), 3u);
    for (int32_t i = 0; i < 3; ++i) {
        const ReferenceEntry& entry = text.references[static_cast<std::size_t>(i)];
        EXPECT_EQ(entry.label, "[" + std::to_string(i + 1) + "]");
        EXPECT_EQ(entry.rfc, i + 1);
        EXPECT_EQ(entry.firstLine, 8 + i);
    }
    EXPECT_EQ(text.references[2].title, "Third");
}

} // namespace
} // namespace parchly
