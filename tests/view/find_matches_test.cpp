// The matches the find bar counts and steps through, as a table of texts
// and requests.
#include "view/find.h"
#include "view/find_matches.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(FindMatches, StartsFollowCaseWholeWordAndOverlapRules)
{
    const struct {
        const char* name;
        QString text;
        FindRequest request;
        std::vector<int> starts;
    } cases[] = {
        {"any case by default", "State, STATE and state", {"state"}, {0, 7, 17}},
        {"match case", "State, STATE and state", {"state", true}, {17}},
        {"whole word skips longer words", "state stateid substate state.", {"state", false, true}, {0, 23}},
        {"whole word at both ends", "stateid", {"stateid", false, true}, {0}},
        {"digits join a word", "RFC2119 RFC 2119", {"2119", false, true}, {12}},
        {"a match ends where the next may start", "aaaaa", {"aa"}, {0, 2}},
        {"letters beyond ASCII fold", "\u00dcber \u00fcber", {"\u00fcber"}, {0, 5}},
        {"nothing to look for", "text", {""}, {}},
        {"longer than the text", "ab", {"abc"}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(allMatchStarts(c.text, c.request), c.starts) << c.name;
}

TEST(FindMatches, MatchAcrossTwoSlicesIsFoundOnce)
{
    MatchScan scan;
    scan.start(QStringLiteral("xxxstateidxxxstateid"), {QStringLiteral("stateid")});
    // Slices of 5 characters split both matches.
    while (!scan.scanFor(0, 5)) { }
    EXPECT_EQ(scan.starts(), (std::vector<int>{3, 13}));
}

TEST(FindMatches, ScanStopsWhenItsTimeIsUpAndGoesOnFromThere)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("e ");
    MatchScan scan;
    scan.start(text, {QStringLiteral("e")});
    // No time at all: one slice, then back to the caller.
    EXPECT_FALSE(scan.scanFor(0, 100));
    EXPECT_EQ(scan.starts().size(), 50u);
    while (!scan.scanFor(0, 100)) { }
    EXPECT_EQ(scan.starts().size(), 1000u);
}

TEST(FindMatches, CurrentMatchIsFoundOnlyForAnExactSelection)
{
    MatchScan scan;
    scan.start(QStringLiteral("one two one"), {QStringLiteral("one")});
    scan.scanFor(1000);
    EXPECT_EQ(scan.indexOf(8, 11), 1);
    EXPECT_EQ(scan.indexOf(8, 10), -1);
    EXPECT_EQ(scan.indexOf(4, 7), -1);
    EXPECT_EQ(scan.firstAtOrAfter(1), 1);
    EXPECT_EQ(scan.firstAtOrAfter(9), 2);
}

} // namespace
} // namespace parchly
