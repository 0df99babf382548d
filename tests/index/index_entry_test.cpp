#include "index_test_support.h"
#include "support/fixture_cases.h"

namespace parchly {
namespace {

IndexEntryFields parse(const std::string& text, bool* ok = nullptr)
{
    IndexEntryFields fields;
    const bool result = parseIndexEntry(text, LimitsBlock(), fields);
    if (ok)
        *ok = result;
    test::expectOffsetsOnDigits(text, fields);
    return fields;
}

// The groups an entry's parse found, as "obsoletes 5; status UNKNOWN".
std::string groupsOf(const IndexEntryFields& fields)
{
    std::string out;
    const auto add = [&](const char* name, const std::string& value) {
        if (!value.empty())
            out += (out.empty() ? "" : "; ") + std::string(name) + " " + value;
    };
    const auto numbers = [&](const char* name, const IndexNumberList& list) {
        std::string joined;
        for (const int32_t number : list.numbers)
            joined += (joined.empty() ? "" : ",") + std::to_string(number);
        add(name, joined);
    };
    numbers("obsoletes", fields.obsoletes);
    numbers("obsoleted by", fields.obsoletedBy);
    numbers("updates", fields.updates);
    numbers("updated by", fields.updatedBy);
    numbers("also", fields.also);
    add("format", fields.format);
    add("status", fields.status);
    return out;
}

TEST(IndexEntry, ReadsTheGroupsInTheirOrder)
{
    for (const test::FixtureCase& c : test::readFixtureCases("index/entry-groups.txt")) {
        SCOPED_TRACE(c.title);
        const IndexEntryFields fields = parse(c["text"]);
        EXPECT_EQ(groupsOf(fields), c["groups"]);
        if (c.parts.count("first obsoleted")) {
            EXPECT_EQ(c["text"].substr(fields.obsoletes.offsets.at(0), 4), c["first obsoleted"]);
        }
        if (c.parts.count("title start")) {
            EXPECT_EQ(fields.titleStart, c.number("title start"));
        }
    }
}

TEST(IndexEntry, ResultDependsOnWhereTheTextEnds)
{
    for (const test::FixtureCase& c : test::readFixtureCases("index/entry-ends.txt")) {
        SCOPED_TRACE(c.title);
        bool ok = c.number("ok") == 0;
        const IndexEntryFields fields = parse(c["text"], &ok);
        EXPECT_EQ(ok, c.number("ok") == 1);
        EXPECT_EQ(fields.number, c.number("number"));
        EXPECT_EQ(fields.title, c["title"]);
    }
}

// Random bytes are the fuzz target's (fuzz/index_fuzz.cpp): here a size
// that broke the parse once.
TEST(IndexEntry, SurvivesHostileInput)
{
    std::string huge = "9 T. A. (Obsoletes ";
    while (huge.size() < 100000)
        huge += "RFC1, x, ,, ";
    EXPECT_GT(parse(huge).obsoletes.numbers.size(), 5000u);
}

} // namespace
} // namespace parchly
