#include "index_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    const std::pair<const char*, const char*> cases[] = {
        // "Not online" is stepped over; a series name in "Also" records nothing.
        {"0007 Version 1.0 of the Example Protocol. A. Author. May 1970. (Not\n"
         "     online) (Obsoletes RFC0005) (Also FYI0012) (Status: UNKNOWN)\n\f\n",
         "obsoletes 5; status UNKNOWN"},
        // Every number group, with both cases of the prefix and a BCP in "Also".
        {"0010 Documentation conventions. S.D. Crocker. July 1969. (Format: TXT)\n"
         "     (Obsoletes RFC0003) (Obsoleted by rfc0016, RFC0024) (Updated by\n"
         "     RFC0012) (Also BCP 0014) (Status: UNKNOWN)\n",
         "obsoletes 3; obsoleted by 16,24; updated by 12; format TXT; status UNKNOWN"},
        {"9 T. A. (Obsoletes RFC0733,, rfc 12 , Rfc0013 RFC0000, 14)"
         " (Updated by RFC2817, rfc3143) (Also FYI 0012, BCP0014, RFC0099, STD 5)",
         "obsoletes 733,12,13,14; updated by 2817,3143; also 99"},
        // Numbers too large for an int32 are not recorded; the list goes on.
        {"9 T. A. (Updates RFC99999999999, RFC2147483648, RFC2147483647, 5)", "updates 2147483647,5"},
        // The text ends inside a group: what was read stays.
        {"0033 Truncated entry. A. Author. May 1970. (Updates RFC0001, RFC00", "updates 1"},
        {"9 T. A. (Format: TXT", "format TXT"},
        // "Status:" ends the parse; a passed group, a word that is no group or
        // text between groups ends it too.
        {"20 T. A. (Status: INTERNET STANDARD) (Format: TXT, PDF)", "status INTERNET STANDARD"},
        {"9 T. A. (Updates RFC1) (Obsoletes RFC2) (Status: X)", "updates 1"},
        {"9 T. A. (Format: TXT) (Also RFC3) (DOI: 10.1/RFC9) (Status: X)", "also 3; format TXT"},
        {"9 T. A. (Obsoletes RFC1) and (Updates RFC2)", "obsoletes 1"},
        // Two-word groups record nothing without their second word.
        {"9 T. A. (Not online) (Obsoleted by RFC7) (Updated RFC8) (Also RFC9)", "obsoleted by 7; also 9"},
        {"9 T. A. (Not available) (Obsoletes RFC7)", ""},
    };
    for (const auto& [text, groups] : cases)
        EXPECT_EQ(groupsOf(parse(text)), groups) << text;
    // Offsets point at the first digit, leading zeros included.
    const std::string text = cases[2].first;
    EXPECT_EQ(text.substr(parse(text).obsoletes.offsets.at(0), 4), "0733");
    EXPECT_EQ(parse(cases[1].first).titleStart, 5);
}

TEST(IndexEntry, ResultDependsOnWhereTheTextEnds)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t number;
        const char* title;
    };
    const Case cases[] = {
        {"", false, 0, ""},
        {"42 \r\n  \t", false, 42, ""},
        {"Title first. 42", true, 0, ""},
        {"42 Unfinished title", true, 42, "Unfinished title"},
        {"42 . A. (Updates 7)", true, 42, ""},
        {"1234 HTTP/1.0 over\n     IPv6 (v1.2). A. (Updates RFC5)\n", true, 1234,
         "HTTP/1.0 over\n     IPv6 (v1.2)"},
        // Cuts inside a group that once broke the parse; a number too large
        // for an int32 is no number.
        {"9 T. A. (", true, 9, "T"},
        {"9 T. A. (Not online", true, 9, "T"},
        {"9 T. A. (Obsoleted by RFC", true, 9, "T"},
        {"9 T. A. (Also FYI", true, 9, "T"},
        {"9 T. A. (Status:", true, 9, "T"},
        {"9 T. A. (Updates 1) (", true, 9, "T"},
        {"99999999999 Too large. A.", true, 0, ""},
    };
    for (const Case& c : cases) {
        bool ok = !c.ok;
        const IndexEntryFields fields = parse(c.text, &ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(fields.number, c.number) << c.text;
        EXPECT_EQ(fields.title, c.title) << c.text;
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
