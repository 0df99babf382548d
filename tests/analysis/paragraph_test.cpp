// A paragraph as the passes read it: lines joined by single spaces, up to
// a blank line, a second line end in a row or the end of the text.
#include "analysis/text_scan.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

// The eight-byte helpers the passes scan lines with, held to a byte at a
// time: every byte value sought, at every place, among bytes one above and
// one below it (where a carry between bytes would show).
TEST(LineScan, BytesEqualToMarksTheEqualBytesOnly)
{
    for (int sought = 0; sought < 256; ++sought) {
        for (std::size_t at = 0; at < 8; ++at) {
            char bytes[8];
            for (std::size_t k = 0; k < 8; ++k)
                bytes[k] = static_cast<char>(sought + (k % 2 == 0 ? 1 : -1));
            bytes[at] = static_cast<char>(sought);
            uint64_t word = 0;
            std::memcpy(&word, bytes, 8);
            uint64_t expected = 0;
            for (std::size_t k = 0; k < 8; ++k) {
                if (bytes[k] == static_cast<char>(sought))
                    expected |= uint64_t{0x80} << (8 * k);
            }
            ASSERT_EQ(bytesEqualTo(word, static_cast<char>(sought)), expected) << sought << " at " << at;
        }
    }
}

// Two texts that differ first at each place, before, within and after the
// eight bytes compared at once: the shared start is that place, or the
// whole of the shorter count asked for.
TEST(LineScan, SharedPrefixEndsAtTheFirstDifference)
{
    const std::string text = "Security Considerations for Servers";
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string other = text;
        other[at] = '#';
        EXPECT_EQ(sharedPrefix(text.data(), other.data(), text.size()), at);
        EXPECT_EQ(sharedPrefix(text.data(), other.data(), at), at);
    }
    EXPECT_EQ(sharedPrefix(text.data(), text.data(), text.size()), text.size());
}

} // namespace
} // namespace parchly
