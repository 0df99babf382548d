// The entries of a paginated table of contents, read from each line's
// end: the page number, the leader dots or gap before it, and the title.
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parchly {
namespace {

// Leaders of every length around the eight bytes read at once: spaced
// dots, two dots, tabs, a long run, a title ending in digits and a dot, a
// number after one blank (part of the title), a wide gap.
const std::string kContents = "Network Working Group                                          A. Writer\n"
                              "Request for Comments: 9999                                    Example Org\n"
                              "Category: Informational                                         May 2020\n"
                              "\n"
                              "                          A Short Title\n"
                              "\n"
                              "Table of Contents\n"
                              "\n"
                              "   1.  Intro . . . . . . . . . . . . . . . . . . . . . . . . . . .   2\n"
                              "   2.  Two leaders ..  3\n"
                              "   3.  Tabs\t.\t.\t4\n"
                              "   4.  Dots to the end ...............................................  5\n"
                              "   5.  Version 1.2 ........9\n"
                              "   6.  Trailing dot. . . . . . . . . . . . . . . . . . . . . . . .  12\n"
                              "   7.  One blank 7\n"
                              "   8.  Wide gap            8\n"
                              "\n"
                              "1.  Intro\n"
                              "\n"
                              "   Text.\n";

// Two entries side by side, the columns three blanks apart at the least,
// after runs of one, two and four blanks inside the left-hand entry.
const std::string kTwoColumns = "Network Working Group                                       A. Writer\n"
                                "Request for Comments: 1234                                    May 1985\n"
                                "\n"
                                "                          A Title Of Old\n"
                                "\n"
                                "Table of Contents\n"
                                "\n"
                                "   1.  Intro    Part ...... 1   3.  Model ..... 4\n"
                                "   2.  Use ............... 2    4.  End ....... 5\n"
                                "\n"
                                "1.  Intro    Part\n"
                                "\n"
                                "   Text.\n";

struct Entry {
    std::string number;
    std::string title;
    int32_t page;
};

TEST(Contents, ReadsTitleAndPageAcrossLeadersOfEveryLength)
{
    const test::Analysed analysed = test::analyseBytes(kContents);
    const std::vector<Entry> expected = {
        {"1", "Intro", 2},           {"2", "Two leaders", 3}, {"3", "Tabs", 4},
        {"4", "Dots to the end", 5}, {"5", "Version 1.2", 9}, {"6", "Trailing dot", 12},
        {"7", "One blank 7", 0},     {"8", "Wide gap", 8},
    };
    ASSERT_EQ(analysed.text.contents.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ContentEntry& entry = analysed.text.contents[i];
        EXPECT_EQ(entry.number, expected[i].number) << i;
        EXPECT_EQ(entry.title, expected[i].title) << i;
        EXPECT_EQ(entry.page, expected[i].page) << i;
    }
}

TEST(Contents, ReadsTheRightHandColumnAfterAGapOfThreeBlanks)
{
    const test::Analysed analysed = test::analyseBytes(kTwoColumns);
    const std::vector<Entry> expected = {
        {"1", "Intro    Part", 1}, {"2", "Use", 2}, {"3", "Model", 4}, {"4", "End", 5}};
    ASSERT_EQ(analysed.text.contents.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(analysed.text.contents[i].title, expected[i].title) << i;
        EXPECT_EQ(analysed.text.contents[i].page, expected[i].page) << i;
    }
}

} // namespace
} // namespace parchly
