// Case folding as the core compares words: ASCII capitals only.
#include "analysis/ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly {
namespace {

// Every byte value at every position of a text longer than the eight bytes
// folded at once, the rest of the text capitals, small letters and bytes
// beyond ASCII.
TEST(Ascii, LowersEveryByteAsOneAtATimeWould)
{
    const std::string around = "AZaz@[`{\x80\xc1\xda\xff"
                               "AbCdEfGhIj";
    for (int value = 0; value < 256; ++value) {
        for (std::size_t at = 0; at < around.size(); ++at) {
            std::string text = around;
            text[at] = static_cast<char>(value);
            std::string expected = text;
            for (char& c : expected)
                c = lowerAscii(c);
            ASSERT_EQ(lowerAsciiCopy(text), expected) << "byte " << value << " at " << at;
        }
    }
}

TEST(Ascii, FoldsOnlyTheCapitalsAToZ)
{
    EXPECT_EQ(lowerAsciiCopy("ABC xyz @[`{ \xc4\xd6"), "abc xyz @[`{ \xc4\xd6");
}

} // namespace
} // namespace parchly
