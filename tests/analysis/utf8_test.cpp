#include "analysis/ascii.h"
#include "analysis/utf8.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <string>

namespace parchly {
namespace {

TEST(Utf8, SequencesAreWellFormedOrNot)
{
    for (const test::FixtureCase& c : test::readFixtureCases("analysis/utf8.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(isValidUtf8(c["bytes"]), c.number("valid") == 1);
    }
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
