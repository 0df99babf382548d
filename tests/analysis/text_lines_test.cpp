// What the lines held for the passes that look across line ends tell of
// each line besides its bytes.
#include "analysis/text_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {
namespace {

// The section anchors read only the lines listed here for the body's own
// headings: a line left out loses its anchor.
TEST(TextLines, NumberLinesAreTheTextLinesThatMayOpenASectionNumber)
{
    const std::string text = "3.1.  Numbered\n" // 0
                             "   B.  Lettered\n" // 1
                             "Appendix A.  Words\n" // 2
                             "APPENDIX B\n" // 3
                             "A bird in the hand\n" // 4: a word
                             "         9.  Nine blanks in\n" // 5
                             "          10.  Ten blanks in\n" // 6: a list item
                             "\n" // 7
                             "7\n" // 8
                             "B\n" // 9: no dot
                             "\f\n" // 10: a page break
                             "A"; // 11: nothing past the text read as a dot
    LineReader reader(text);
    const TextLines lines = readTextLines(reader, RfcText());
    EXPECT_EQ(lines.numberLines, (std::vector<uint32_t>{0, 1, 2, 3, 5, 8}));
}

} // namespace
} // namespace parchly
