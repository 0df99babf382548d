// The bracketed citations of the text before the first reference, found by
// a search of the whole text: where each lands in the lines as every pass
// reads them.
#include "analysis/reference_labels.h"
#include "analysis/references.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace parchly {
namespace {

// Line, start column, end column, reference.
using Found = std::tuple<int32_t, int32_t, int32_t, int32_t>;

std::vector<Found> citationsOf(const std::string& bytes, int32_t firstReferenceLine)
{
    RfcText text;
    text.references.resize(2);
    text.references[0].label = "[1]";
    text.references[0].firstLine = firstReferenceLine;
    text.references[1].label = "[RFC2119]";
    text.references[1].firstLine = firstReferenceLine + 1;
    LineReader reader{bytes};
    EXPECT_TRUE(findCitations(text, &reader));
    std::vector<Found> found;
    for (const CitationMark& citation : text.citations)
        found.emplace_back(citation.line, citation.startColumn, citation.endColumn, citation.reference);
    return found;
}

TEST(Citations, EveryBracketPairOfALineBeforeTheReferences)
{
    const std::string text = "See [1] and [RFC2119], [2] and [[1].\n"
                             "\n"
                             "[1]  First.\n"
                             "[RFC2119]  Second, cites [1] itself.\n";
    EXPECT_EQ(citationsOf(text, 2), (std::vector<Found>{{0, 4, 7, 0}, {0, 12, 21, 1}, {0, 32, 35, 0}}));
}

// A line longer than the reader's buffer is read as pieces, each a line of
// its own: a citation in the second piece counts from that piece.
TEST(Citations, LongLineCountsInItsPieces)
{
    const std::string longLine = std::string(kLineBufferSize + 9, 'x') + " [1]\n";
    EXPECT_EQ(citationsOf("Intro.\n" + longLine + "[1]  First.\n", 3), (std::vector<Found>{{2, 11, 14, 0}}));
}

// CR LF line ends are read as LF; the last line may have none.
TEST(Citations, CarriageReturnsAndAMissingLastLineEnd)
{
    EXPECT_EQ(citationsOf("a [1]\r\nb [RFC2119]\r\nc [1]", 5),
              (std::vector<Found>{{0, 2, 5, 0}, {1, 2, 11, 1}, {2, 2, 5, 0}}));
}

// The next citation a line on, a few lines on, or pages on: each lands on
// its own line however far the last one stood, on either side of the
// distances the search tries.
TEST(Citations, LandOnTheirLinesHoweverFarApart)
{
    std::string text = "[1]\n[1]\n";
    std::vector<Found> expected{{0, 0, 3, 0}, {1, 0, 3, 0}};
    int32_t line = 2;
    for (int32_t gap : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 300}) {
        text += std::string(static_cast<std::size_t>(gap), '\n') + "x [1]\n";
        line += gap;
        expected.emplace_back(line++, 2, 5, 0);
    }
    EXPECT_EQ(citationsOf(text + "[1]  First.\n", line), expected);
}

TEST(Citations, NoneAtOrAfterTheFirstReference)
{
    EXPECT_TRUE(citationsOf("[1]  First, [1] again.\n[RFC2119] x\n", 0).empty());
}

// Labels by the hundred, so that the table grows and its slots collide: each
// is found by what its brackets hold, the first of equal labels wins, and
// near misses are not found.
TEST(ReferenceLabels, FindsEachLabelTheFirstOfEqualOnes)
{
    std::vector<ReferenceEntry> references(300);
    for (std::size_t r = 0; r < references.size(); ++r)
        references[r].label = "[" + std::to_string(r % 250) + "]";
    const ReferenceLabels labels(references);
    for (int32_t r = 0; r < 250; ++r)
        EXPECT_EQ(labels.find(std::to_string(r)), r);
    for (const char* missing : {"250", "[1", "1]", " 1", "[1]", ""})
        EXPECT_EQ(labels.find(missing), -1) << missing;
}

// A text without references, as most of the oldest are, finds no label,
// the empty one and every size of label included.
TEST(ReferenceLabels, WithoutReferencesFindsNone)
{
    const ReferenceLabels labels(std::vector<ReferenceEntry>{});
    for (const char* label : {"", "[]", "1", "[1]", "RFC2119", "[RFC2119]", "I-D.ietf-tls-rfc8446bis"})
        EXPECT_EQ(labels.find(label), -1) << label;
}

// Looked up by what their brackets hold, as a citation is read: a label
// without brackets is never found, and an empty pair of brackets names its
// reference too.
TEST(ReferenceLabels, FindsBracketedLabelsOnly)
{
    std::vector<ReferenceEntry> references(5);
    const char* const labels[] = {"[RFC2119]", "RFC8174", "[]", "[RFC2119]", "[TCP:9]"};
    for (std::size_t r = 0; r < references.size(); ++r)
        references[r].label = labels[r];
    const ReferenceLabels inside(references);
    const std::pair<const char*, int32_t> cases[] = {{"RFC2119", 0},  {"", 2},           {"TCP:9", 4},
                                                     {"RFC8174", -1}, {"[RFC2119]", -1}, {"RFC211", -1}};
    for (const auto& [label, reference] : cases)
        EXPECT_EQ(inside.find(label), reference) << label;
}

// Long labels that agree in their first and their last bytes, and differ
// only between: each is found as itself.
TEST(ReferenceLabels, TellsLongLabelsApartByTheirMiddle)
{
    std::vector<ReferenceEntry> references(40);
    for (std::size_t r = 0; r < references.size(); ++r)
        references[r].label = "[I-D.ietf-" + std::to_string(r) + "-transport]";
    const ReferenceLabels labels(references);
    for (int32_t r = 0; r < 40; ++r)
        EXPECT_EQ(labels.find("I-D.ietf-" + std::to_string(r) + "-transport"), r);
    EXPECT_EQ(labels.find("I-D.ietf-40-transport"), -1);
}

// Of every size from one byte to past sixteen, labels that differ from
// each other in a single byte, wherever it stands: each is found as
// itself, and the same bytes with one more or one fewer are not found.
TEST(ReferenceLabels, TellsApartLabelsThatDifferInOneByte)
{
    for (std::size_t size = 1; size <= 24; ++size) {
        std::vector<std::string> insides(size + 1, std::string(size, 'a'));
        for (std::size_t at = 0; at < size; ++at)
            insides[at + 1][at] = 'b';
        std::vector<ReferenceEntry> references(insides.size());
        for (std::size_t r = 0; r < references.size(); ++r)
            references[r].label = "[" + insides[r] + "]";
        const ReferenceLabels labels(references);
        for (std::size_t r = 0; r < insides.size(); ++r)
            EXPECT_EQ(labels.find(insides[r]), static_cast<int32_t>(r)) << insides[r];
        EXPECT_EQ(labels.find(std::string(size + 1, 'a')), -1) << size;
        EXPECT_EQ(labels.find(std::string(size - 1, 'a')), -1) << size;
    }
}

// A citation printed in another case than its label ("[Zeller]" of
// "[ZELLER]"), of every size from one byte to past sixteen and with the
// case changed in the middle of a long one, finds that label.
TEST(ReferenceLabels, FindsTheOneLabelThatDiffersOnlyInCase)
{
    std::vector<ReferenceEntry> references(24);
    for (std::size_t r = 0; r < references.size(); ++r)
        references[r].label = "[" + std::string(r + 1, 'Z') + "]";
    const ReferenceLabels labels(references);
    for (std::size_t r = 0; r < references.size(); ++r) {
        std::string cited(r + 1, 'Z');
        cited[r / 2] = 'z';
        EXPECT_EQ(labels.find(cited), static_cast<int32_t>(r)) << cited;
    }
    EXPECT_EQ(labels.find(std::string(25, 'z')), -1);
}

// A label printed exactly as cited wins over one that differs in case; a
// citation that two labels match only in case finds neither.
TEST(ReferenceLabels, TakesCaseBlindMatchesOnlyWhenOneLabelFits)
{
    std::vector<ReferenceEntry> references(4);
    const char* const printed[] = {"[Smith]", "[SMITH]", "[Kent]", "[KENT]"};
    for (std::size_t r = 0; r < references.size(); ++r)
        references[r].label = printed[r];
    const ReferenceLabels labels(references);
    const std::pair<const char*, int32_t> cases[] = {
        {"SMITH", 1}, {"Smith", 0}, {"smith", -1}, {"Kent", 2}, {"kENT", -1}};
    for (const auto& [cited, reference] : cases)
        EXPECT_EQ(labels.find(cited), reference) << cited;
}

} // namespace
} // namespace parchly
