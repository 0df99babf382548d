// Where errata are placed in an RFC: at the lines of their original text
// however it was copied, else at the heading of the section they name,
// else at the top. The fixture tests/fixtures/errata/rfc9999.txt has page
// breaks, a table, a tab and a sentence printed twice.
#include "analysis_support.h"
#include "support/fixture_cases.h"

#include "analysis/errata_placement.h"
#include "analysis/erratum_section.h"
#include "analysis/erratum_text.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

std::string fixtureBytes()
{
    return test::readFixture("errata/rfc9999.txt");
}

class ErrataPlacement : public testing::TestWithParam<test::FixtureCase> {
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
    const test::FixtureCase& c = GetParam();
    Erratum erratum;
    erratum.section = c["section"];
    erratum.originalText = c["original"];
    const ErratumPlacement placement = ErrataPlacer(*text, *lines).place(erratum);
    EXPECT_EQ(placedByName(placement.placedBy), c["placed by"]);
    EXPECT_EQ(placement.firstLine, c.number("first line"));
    EXPECT_EQ(placement.lastLine, c.number("last line"));
}

INSTANTIATE_TEST_SUITE_P(Fixture, ErrataPlacement,
                         testing::ValuesIn(test::readFixtureCases("errata/placements.txt")),
                         [](const testing::TestParamInfo<test::FixtureCase>& info) {
                             return info.param.title;
                         });

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

// What no RFC holds, or what names nothing, is placed in the text all the
// same: never before its first line or after its last.
TEST(ErrataPlacementAll, OddErrataStayWithinTheLines)
{
    const std::string bytes = fixtureBytes();
    const std::string texts[] = {"",
                                 "[...]",
                                 "|",
                                 "\"...\"",
                                 "OLD:\r\nNEW:",
                                 "\f\r\n\f",
                                 "...\r\n[...]",
                                 "\xff\xfe\x00",
                                 std::string(100000, 'x'),
                                 bytes};
    const std::string sections[] = {"",         "0",          "99.99.99", "A",  "Z.9",
                                    "Appendix", "4294967296", "GLOBAL",   "2.2"};
    std::vector<Erratum> errata;
    for (const std::string& original : texts) {
        for (const std::string& section : sections)
            errata.push_back(Erratum{"1", 9999, "", "", section, original, "", "", "", "", "", ""});
    }
    for (const std::string& rfc : {bytes, std::string(), std::string("\f\n\n")}) {
        LineReader reader(rfc);
        const RfcText text = test::analyseBytes(rfc).text;
        const int32_t lineCount = std::max<int32_t>(1, int32_t(readTextLines(reader, text).size()));
        for (const ErratumPlacement& placement : placeErrata(text, reader, errata)) {
            EXPECT_LE(0, placement.firstLine);
            EXPECT_LE(placement.firstLine, placement.lastLine);
            EXPECT_LT(placement.lastLine, lineCount);
        }
    }
}

TEST(ErratumText, QuotationsLoseTheirLabelsQuotesAndPageBreaks)
{
    for (const test::FixtureCase& c : test::readFixtureCases("errata/original-texts.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(originalTextPieces(c["original"], false), c.items("pieces"));
    }
}

// Runs `check` on each section field of the fixture that tells `part`.
template <typename Check> void forEachSectionField(const char* part, Check check)
{
    int checked = 0;
    for (const test::FixtureCase& c : test::readFixtureCases("errata/section-fields.txt")) {
        SCOPED_TRACE(c.title);
        if (c.parts.count(part) && ++checked)
            check(c["field"], c[part]);
    }
    EXPECT_GT(checked, 0) << "no field tells " << part;
}

TEST(ErratumSection, ReadsTheSectionTheFieldNames)
{
    forEachSectionField("number", [](const std::string& field, const std::string& number) {
        EXPECT_EQ(readErratumSection(field).number, number);
    });
}

TEST(ErratumSection, UnnumberedFieldNamesATitle)
{
    forEachSectionField("title", [](const std::string& field, const std::string& title) {
        EXPECT_EQ(readErratumSection(field).title, title);
    });
}

TEST(ErratumSection, PageNamedBesideOrInsteadOfASection)
{
    forEachSectionField("page", [](const std::string& field, const std::string& page) {
        EXPECT_EQ(readErratumSection(field).page, std::stoi(page));
    });
}

TEST(ErratumSection, PlainNumbersOnly)
{
    forEachSectionField("plain", [](const std::string& field, const std::string& plain) {
        EXPECT_EQ(isPlainSectionNumber(field), plain == "1");
    });
}

} // namespace
} // namespace parchly
