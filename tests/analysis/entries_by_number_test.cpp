// The contents entries a heading is tried against: the same ones, in the
// same order, whether they are among the next few or far past them.
#include "analysis/entries_by_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace parchly {
namespace {

// Long contents of every shape of number: none, short, in capitals, and
// longer than the eight bytes an entry is told by, some repeated.
std::vector<ContentEntry> longContents()
{
    const std::vector<std::string> numbers = {"",    "1.",    "1.1.", "2.",          "A.1.",        "a.1.",
                                              "10.", "1.10.", "",     "12.3.4.5.6.", "12.3.4.5.7.", "2."};
    std::vector<ContentEntry> entries;
    for (int round = 0; round < 20; ++round) {
        for (const std::string& number : numbers)
            entries.push_back(ContentEntry{0, 0, number, "Title", 0, 0, false});
    }
    return entries;
}

// Whether the number, lowered and told by its first eight bytes, may open
// `lower`: the entries find() is to visit.
bool mayOpen(const std::string& number, const std::string& lower)
{
    const std::size_t told = std::min<std::size_t>(number.size(), 8);
    return lower.size() >= told && lowerAsciiCopy(number.substr(0, told)) == lower.substr(0, told);
}

TEST(EntriesByNumber, VisitsEveryEntryAHeadingMayOpenInOrder)
{
    const std::vector<ContentEntry> contents = longContents();
    EntriesByNumber entries(contents);
    for (const std::string lower : {"1.1.  title", "a.1.  x", "12.3.4.5.9. deep", "10.", "zzz", "1"}) {
        for (const std::size_t first : {std::size_t{0}, std::size_t{5}, std::size_t{100}, contents.size()}) {
            std::vector<std::size_t> expected;
            for (std::size_t i = first; i < contents.size(); ++i) {
                if (mayOpen(contents[i].number, lower))
                    expected.push_back(i);
            }
            std::vector<std::size_t> visited;
            const int32_t found = entries.find(lower, first, [&](std::size_t i) {
                visited.push_back(i);
                return false;
            });
            EXPECT_EQ(found, -1);
            EXPECT_EQ(visited, expected) << lower << " from " << first;
        }
    }
}

TEST(EntriesByNumber, FindsTheFirstEntryTheVisitTakes)
{
    const std::vector<ContentEntry> contents = longContents();
    EntriesByNumber entries(contents);
    // The entry "1.1." of the tenth round, far past the next few.
    const int32_t found = entries.find(
        "1.1.  title", 0, [&](std::size_t i) { return i >= 108 && contents[i].number == "1.1."; });
    EXPECT_EQ(found, 110);
}

// Numbers longer than eight bytes are told apart by the visit.
TEST(EntriesByNumber, VisitsTheEntriesOfANumberWithinTheirRange)
{
    const std::vector<ContentEntry> contents = longContents();
    EntriesByNumber entries(contents);
    for (const std::string number : {"2.", "A.1.", "", "12.3.4.5.6.", "9."}) {
        std::vector<std::size_t> expected;
        for (std::size_t i = 3; i < 200; ++i) {
            if (contents[i].number.size() == number.size()
                && mayOpen(contents[i].number, lowerAsciiCopy(number)))
                expected.push_back(i);
        }
        std::vector<std::size_t> visited;
        entries.findNumber(number, 3, 200, [&](std::size_t i) {
            visited.push_back(i);
            return false;
        });
        // Numbers longer than eight bytes are told apart by the visit.
        visited.erase(
            std::remove_if(visited.begin(), visited.end(),
                           [&](std::size_t i) { return contents[i].number.size() != number.size(); }),
            visited.end());
        EXPECT_EQ(visited, expected) << number;
    }
}

} // namespace
} // namespace parchly
