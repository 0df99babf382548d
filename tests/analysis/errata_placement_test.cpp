// Where errata are placed in an RFC: at the lines of their original text
// however it was copied, else at the heading of the section they name,
// else at the top. The fixture tests/fixtures/errata/rfc9999.txt has page
// breaks, a table, a tab and a sentence printed twice.
#include "analysis_support.h"

#include "analysis/errata_placement.h"
#include "analysis/erratum_section.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace parchly {
namespace {

std::string fixtureBytes()
{
    std::ifstream in(std::string(PARCHLY_FIXTURES_DIR) + "/errata/rfc9999.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct PlacementCase {
    const char* name;
    const char* section;
    const char* originalText;
    int32_t firstLine;
    int32_t lastLine;
    PlacedBy placedBy;
};

const PlacementCase kPlacements[] = {
    {"WrappedOtherwise", "2.1",
     "A message is a length field of two octets\r\nfollowed by the body.  The length counts the octets of "
     "the body only,",
     38, 39, PlacedBy::Text},
    {"AcrossAPageBreak", "2.2",
     "closes the connection and reports the error to its user.  It does\r\n   not try to reorder the "
     "messages itself.",
     55, 62, PlacedBy::Text},
    {"ChangeBarDropped", "2.1", "|  itself, so that an empty message has a length of zero.", 40, 40,
     PlacedBy::Text},
    {"TableEdgeKept", "2.1", "      | Length | 2 octets         |\r\n      | Body   | variable         |", 47,
     48, PlacedBy::Text},
    {"ElidedLinesSkipped", "1",
     "The protocol sends messages between two peers over any transport\r\n[...]\r\n"
     "and the receiver MUST check the length before it reads the body.",
     23, 25, PlacedBy::Text},
    {"OldTextOfOldNew", "3",
     "OLD:\r\n   A peer that trusts the length field without checking it\r\nNEW:\r\n   A peer that trusts it "
     "after",
     66, 66, PlacedBy::Text},
    {"QuotedWithEllipses", "", "\"...to read beyond the end of its buffer...\"", 67, 67, PlacedBy::Text},
    {"TabAndTypographicQuotes", "A", "An example message: length 5, body \xE2\x80\x9Chello\xE2\x80\x9D.", 71,
     71, PlacedBy::Text},
    {"RepeatedTextInNamedSection", "2.1", "Every peer MUST answer a message within ten seconds.", 42, 42,
     PlacedBy::Text},
    {"RepeatedTextWithoutSection", "", "Every peer MUST answer a message within ten seconds.", 27, 27,
     PlacedBy::Text},
    {"RepeatedTextOutsideNamedSection", "3", "Every peer MUST answer a message within ten seconds.", 64, 64,
     PlacedBy::Section},
    {"UniqueTextOverWrongSection", "3", "closes the connection and reports", 55, 55, PlacedBy::Text},
    {"EditedLineFoundLineByLine", "2.1",
     "A message is a length field of two octets followed by the body.  The\r\n"
     "length counts teh octets of the body only, never the length field\r\n"
     "itself, so that an empty message has a length of zero.",
     38, 40, PlacedBy::Text},
    {"SectionWhenTextAbsent", "Section 2.2", "This sentence is in no version of the RFC.", 51, 51,
     PlacedBy::Section},
    {"AppendixSection", "Appendix A says:", "", 69, 69, PlacedBy::Section},
    {"FirstOfSeveralSections", "2.2. and 3.", "", 51, 51, PlacedBy::Section},
    {"UnnumberedSectionByTitle", "Abstract", "", 7, 7, PlacedBy::Section},
    {"UnknownSectionAtTop", "99", "nowhere to be found", 0, 0, PlacedBy::Top},
    {"WholeDocumentAtTop", "GLOBAL", "", 0, 0, PlacedBy::Top},
};

class ErrataPlacement : public testing::TestWithParam<PlacementCase> {
protected:
    static void SetUpTestSuite()
    {
        bytes = new std::string(fixtureBytes());
        ASSERT_FALSE(bytes->empty()) << "fixture rfc9999.txt not found";
        reader = new LineReader(*bytes);
        text = new RfcText(test::analyseBytes(*bytes).text);
        lines = new TextLines(readTextLines(*reader, *text));
    }
    static void TearDownTestSuite()
    {
        delete lines;
        delete text;
        delete reader;
        delete bytes;
    }
    static std::string* bytes;
    static LineReader* reader;
    static RfcText* text;
    static TextLines* lines;
};

std::string* ErrataPlacement::bytes = nullptr;
LineReader* ErrataPlacement::reader = nullptr;
RfcText* ErrataPlacement::text = nullptr;
TextLines* ErrataPlacement::lines = nullptr;

TEST_P(ErrataPlacement, PlacedAtTheExpectedLines)
{
    const PlacementCase& c = GetParam();
    Erratum erratum;
    erratum.section = c.section;
    erratum.originalText = c.originalText;
    const ErratumPlacement placement = ErrataPlacer(*text, *lines).place(erratum);
    EXPECT_EQ(placedByName(placement.placedBy), std::string(placedByName(c.placedBy)));
    EXPECT_EQ(placement.firstLine, c.firstLine);
    EXPECT_EQ(placement.lastLine, c.lastLine);
}

INSTANTIATE_TEST_SUITE_P(Fixture, ErrataPlacement, testing::ValuesIn(kPlacements),
                         [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST(ErrataPlacementAll, OnePlacementPerErratumInOrder)
{
    const std::string bytes = fixtureBytes();
    LineReader reader(bytes);
    const RfcText text = test::analyseBytes(bytes).text;
    Erratum first;
    first.section = "3";
    Erratum second;
    second.originalText = "keeps their order.  A receiver that sees a message out of order";
    const std::vector<ErratumPlacement> placements = placeErrata(text, reader, {first, second});
    ASSERT_EQ(placements.size(), 2u);
    EXPECT_EQ(placements[0].firstLine, 64);
    EXPECT_EQ(placements[1].firstLine, 54);
}

TEST(ErratumSection, ReadsTheSectionTheFieldNames)
{
    const std::vector<std::pair<std::string, std::string>> table = {
        {"4.1", "4.1"},
        {"4.1.", "4.1"},
        {"Section 4.1", "4.1"},
        {"In Section 25.1: ", "25.1"},
        {"section-6.3", "6.3"},
        {"Appendix A.1", "A.1"},
        {"A.1", "A.1"},
        {"A.4.2.", "A.4.2"},
        {"Appendix A says:", "A"},
        {"B", "B"},
        {"APPENDIX II", "II"},
        {"Appendix ii", "II"},
        {"4.1.1.1.1. and 4.2.1.", "4.1.1.1.1"},
        {"2.6, Table 1", "2.6"},
        {"3.3. Page 32", "3.3"},
        {"3.9  p. 72", "3.9"},
        {"1,3,4", "1"},
        {"Page 21", ""},
        {"Table 2", ""},
        {"A number of details in RFC 793 were corrected", ""},
        {"GLOBAL", ""},
        {"", ""},
    };
    for (const auto& [field, number] : table)
        EXPECT_EQ(readErratumSection(field).number, number) << "field \"" << field << "\"";
}

TEST(ErratumSection, UnnumberedFieldNamesATitle)
{
    EXPECT_EQ(readErratumSection("Abstract").title, "Abstract");
    EXPECT_EQ(readErratumSection("Status of This Memo").title, "Status of This Memo");
    EXPECT_EQ(readErratumSection("GLOBAL").title, "");
    EXPECT_EQ(readErratumSection("Page 21").title, "");
}

TEST(ErratumSection, PlainNumbersOnly)
{
    EXPECT_TRUE(isPlainSectionNumber("4.1"));
    EXPECT_TRUE(isPlainSectionNumber("4.1."));
    EXPECT_TRUE(isPlainSectionNumber("12"));
    EXPECT_FALSE(isPlainSectionNumber("Section 4.1"));
    EXPECT_FALSE(isPlainSectionNumber("A.1"));
    EXPECT_FALSE(isPlainSectionNumber("4.1, Table 1"));
    EXPECT_FALSE(isPlainSectionNumber(""));
}

} // namespace
} // namespace parchly
