// A paragraph as the passes read it: lines joined by single spaces, up to
// a blank line, a second line end in a row or the end of the text.
#include "analysis/text_scan.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly {
namespace {

class ReadParagraph : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(ReadParagraph, JoinsItsLinesAsTheyRead)
{
    const test::FixtureCase& sample = GetParam();
    RfcText record;
    LineReader reader(sample["text"]);
    TextScan scan(record, reader);
    std::string_view line;
    std::size_t rest = 0;
    ASSERT_TRUE(readNonBlankLine(scan, line, rest));
    EXPECT_EQ(readParagraph(scan, line, rest), sample["paragraph"]);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadParagraph,
                         testing::ValuesIn(test::readFixtureCases("analysis/paragraphs.txt")),
                         [](const testing::TestParamInfo<test::FixtureCase>& info) {
                             return info.param.title;
                         });

} // namespace
} // namespace parchly
