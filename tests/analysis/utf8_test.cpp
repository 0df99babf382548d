#include "analysis/ascii.h"
#include "analysis/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly {
namespace {

TEST(Utf8, SequencesAreWellFormedOrNot)
{
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain ASCII", true},
        {"caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x98\x80", true},
        {"\x80", false}, // a continuation byte alone
        {"\xC3", false}, // a sequence cut short
        {"\xC0\xAF", false}, // an overlong slash
        {"\xED\xA0\x80", false}, // a surrogate
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\xE9t\xE9", false}, // Latin-1
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(utf8SequenceLength("a\xE2\x80\x94", 1), 3u);
    EXPECT_EQ(utf8SequenceLength("a\xE2\x80\x94", 2), 0u);
}

TEST(Utf8, CutsFallBetweenCharacters)
{
    const std::string dash = "ab\xE2\x80\x94"
                             "c"; // a, b, an em dash, c
    struct Case {
        std::size_t limit;
        std::size_t length;
    };
    const Case cases[] = {{0, 0}, {2, 2}, {3, 2}, {4, 2}, {5, 5}, {6, 6}, {100, 6}};
    for (const Case& c : cases)
        EXPECT_EQ(utf8CutLength(dash, c.limit), c.length) << c.limit;
}

TEST(Ascii, FoldsOnlyAsciiLetters)
{
    EXPECT_EQ(lowerAsciiCopy("RFC 2119 \xC3\x89t\xC3\xA9 [Page"), "rfc 2119 \xC3\x89t\xC3\xA9 [page");
    EXPECT_TRUE(equalIgnoringAsciiCase("Normative References", "normative references"));
    EXPECT_FALSE(equalIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));
    EXPECT_FALSE(equalIgnoringAsciiCase("[", "{")) << "the bytes 32 apart outside the letters";
    EXPECT_TRUE(startsWithIgnoringAsciiCase("APPENDIX A.", "appendix "));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("App", "appendix "));
}

} // namespace
} // namespace parchly
