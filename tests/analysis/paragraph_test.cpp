// A paragraph as the passes read it: lines joined by single spaces, up to
// a blank line, a second line end in a row or the end of the text.
#include "analysis/text_scan.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

namespace parchly {
namespace {

struct ParagraphCase {
    const char* name;
    std::string text;
    std::string paragraph;
};

// Lone CRs stay in text mode; only a CR LF pair becomes one LF.
const ParagraphCase kParagraphs[] = {
    {"lines joined by a space", "Two lines\n   of text  \n\nnext\n", "Two lines of text"},
    {"a lone CR inside a line ends a run", "one\rtwo\nthree\n\nnext\n", "one two three"},
    {"a CR before the LF is a second line end", "a\r\r\nb\n", "a"},
    {"a lone CR in a later line ends a run", "one\ntwo\rthree\n\nnext\n", "one two three"},
    {"an indented later line joins from its words", "one\n \t two\n\nnext\n", "one two"},
    {"the last line needs no line end", "end of\nfile", "end of file"},
    {"a long line's pieces join without a space", std::string(1500, 'x') + "\n\n", std::string(1500, 'x')},
    {"a form feed opening a line is passed", "page\n\f  next\n\n", "page next"},
};

class ReadParagraph : public testing::TestWithParam<ParagraphCase> { };

TEST_P(ReadParagraph, JoinsItsLinesAsTheyRead)
{
    const ParagraphCase& sample = GetParam();
    RfcText record;
    LineReader reader(sample.text);
    TextScan scan(record, reader);
    std::string_view line;
    std::size_t rest = 0;
    ASSERT_TRUE(readNonBlankLine(scan, line, rest));
    EXPECT_EQ(readParagraph(scan, line, rest), sample.paragraph);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadParagraph, testing::ValuesIn(kParagraphs),
                         [](const testing::TestParamInfo<ParagraphCase>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
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
