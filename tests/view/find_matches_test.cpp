// The matches the find bar counts and steps through, as a table of texts
// and requests.
#include "view/find.h"
#include "view/find_matches.h"

#include "support/fixture_cases.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(FindMatches, StartsFollowCaseWholeWordAndOverlapRules)
{
    for (const test::FixtureCase& c : test::readFixtureCases("view/find-matches.txt")) {
        SCOPED_TRACE(c.title);
        const FindRequest request{QString::fromStdString(c["find"]),
                                  c["options"].find("case") != std::string::npos,
                                  c["options"].find("word") != std::string::npos};
        std::vector<int> starts;
        for (const std::string& start : c.items("starts"))
            starts.push_back(std::stoi(start));
        EXPECT_EQ(allMatchStarts(QString::fromStdString(c["text"]), request), starts);
    }
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
