// The "errata" array parchly-analyse --errata adds to a record: each
// erratum of the RFC with its id, status, type, file lines and how it was
// placed; errata of other RFCs are left out.
#include "dumps.h"
#include "errata/errata_file.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(ErrataDump, ListsTheRfcsErrataWithTheirLinesAndHowTheyWerePlaced)
{
    const std::string path = test::fixturePath("errata/rfc9999.txt");
    std::optional<LineReader> reader = LineReader::open(path);
    ASSERT_TRUE(reader);
    RfcText text;
    analyseText(text, &*reader, LimitsBlock(), AnalysisOptions());
    const ErrataLoad load = parseErrata(test::readFixture("errata/rfc9999-errata.json"));
    ASSERT_TRUE(load.complete()) << load.error;
    // The record as a golden file: errata 1, 2 and 4 of RFC 9999 in id order.
    const Json errata = errataRecord(text, *reader, path, ErrataCatalogue(load.errata));
    const Json expected = Json::parse(test::readFixture("errata/rfc9999-dump.json"));
    EXPECT_EQ(errata, expected) << errata.dump(1);
}

} // namespace
} // namespace parchly
