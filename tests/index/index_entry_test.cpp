#include "index/index_entry.h"

#include "index_test_support.h"

#include <gtest/gtest.h>

#include <random>
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
    return fields;
}

void expectNumbers(const std::string& text, const IndexNumberList& list, const std::vector<int32_t>& numbers)
{
    EXPECT_EQ(list.numbers, numbers);
    test::expectOffsetsOnDigits(text, list);
}

// An entry of the sample fixture as the view hands it over.
std::string sampleEntryText(int32_t number)
{
    LineReader reader(test::indexFixture("sample-index.txt"));
    RfcText index;
    readIndex(index, &reader, LimitsBlock());
    reader.rewind();
    const std::vector<std::string> lines = readIndexLines(reader);
    for (const RfcIndexEntry& entry : index.indexEntries) {
        if (entry.number == number)
            return indexEntryText(lines, entry);
    }
    return std::string();
}

TEST(IndexEntry, ReadsTheGroupsOfTheSampleEntries)
{
    const std::string version = sampleEntryText(7);
    ASSERT_EQ(version, "0007 Version 1.0 of the Example Protocol. A. Author. May 1970. (Not\n"
                       "     online) (Obsoletes RFC0005) (Also FYI0012) (Status: UNKNOWN)\n\f\n");
    // "Not online" is stepped over; a series name in "Also" records nothing.
    IndexEntryFields fields = parse(version);
    EXPECT_EQ(fields.title, "Version 1.0 of the Example Protocol");
    EXPECT_EQ(fields.titleStart, 5);
    expectNumbers(version, fields.obsoletes, {5});
    ASSERT_EQ(fields.obsoletes.offsets.size(), 1u);
    EXPECT_EQ(version.substr(fields.obsoletes.offsets[0], 4), "0005");
    expectNumbers(version, fields.also, {});
    EXPECT_EQ(fields.status, "UNKNOWN");

    // Every number group, with both cases of the prefix and a BCP in "Also".
    const std::string full = sampleEntryText(10);
    fields = parse(full);
    EXPECT_EQ(fields.format, "TXT");
    EXPECT_EQ(full.substr(fields.formatStart, 4), "TXT)");
    expectNumbers(full, fields.obsoletes, {3});
    expectNumbers(full, fields.obsoletedBy, {16, 24});
    expectNumbers(full, fields.updatedBy, {12});
    expectNumbers(full, fields.also, {});
    EXPECT_EQ(fields.status, "UNKNOWN");

    // "Status:" before "Format:": the format is never read.
    fields = parse(sampleEntryText(20));
    EXPECT_EQ(fields.status, "INTERNET STANDARD");
    EXPECT_EQ(fields.format, "");

    // The file ends inside the group: what was read stays.
    const std::string truncated = sampleEntryText(33);
    bool ok = false;
    fields = parse(truncated, &ok);
    EXPECT_TRUE(ok);
    expectNumbers(truncated, fields.updates, {1});
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
        {"0042", false, 42, ""},
        {"42 \r\n  \t", false, 42, ""},
        {"Title first. 42", true, 0, ""},
        {"0000 Zero. A.", true, 0, ""},
        {"42 Unfinished title", true, 42, "Unfinished title"},
        {"42 . A. (Updates 7)", true, 42, ""},
        {"42 Title.\n", true, 42, "Title"},
        {"1234 HTTP/1.0 over\n     IPv6 (v1.2). A. (Updates RFC5)\n", true, 1234, "HTTP/1.0 over\n     IPv6 (v1.2)"},
    };
    for (const Case& c : cases) {
        bool ok = !c.ok;
        const IndexEntryFields fields = parse(c.text, &ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(fields.number, c.number) << c.text;
        EXPECT_EQ(fields.title, c.title) << c.text;
    }
}

TEST(IndexEntry, NumberItemsInTheirVariousShapes)
{
    const std::string text =
        "9 T. A. (Obsoletes RFC0733,, rfc 12 , Rfc0013 RFC0000, 14)"
        " (Updated by RFC2817, rfc3143) (Also FYI 0012, BCP0014, RFC0099, STD 5)";
    const IndexEntryFields fields = parse(text);
    expectNumbers(text, fields.obsoletes, {733, 12, 13, 14});
    ASSERT_FALSE(fields.obsoletes.offsets.empty());
    EXPECT_EQ(text.substr(fields.obsoletes.offsets[0], 4), "0733");
    expectNumbers(text, fields.updatedBy, {2817, 3143});
    expectNumbers(text, fields.also, {99});
}

TEST(IndexEntry, GroupsAreReadOnlyInTheirOrder)
{
    // Updates before Obsoletes: the parse has passed Obsoletes and stops.
    IndexEntryFields fields = parse("9 T. A. (Updates RFC1) (Obsoletes RFC2) (Status: X)");
    EXPECT_EQ(fields.updates.numbers, std::vector<int32_t>{1});
    EXPECT_TRUE(fields.obsoletes.numbers.empty());
    EXPECT_EQ(fields.status, "");

    // Absent groups are passed over; a word that is no group ends the parse.
    fields = parse("9 T. A. (Format: TXT) (Also RFC3) (DOI: 10.1/RFC9) (Status: X)");
    EXPECT_EQ(fields.format, "TXT");
    EXPECT_EQ(fields.also.numbers, std::vector<int32_t>{3});
    EXPECT_EQ(fields.status, "");

    // "Status:" ends the parse; groups must follow each other directly.
    EXPECT_TRUE(parse("9 T. A. (Status: DRAFT) (Updates RFC4)").updates.numbers.empty());
    EXPECT_TRUE(parse("9 T. A. (Obsoletes RFC1) and (Updates RFC2)").updates.numbers.empty());

    // Two-word groups record nothing without their second word.
    fields = parse("9 T. A. (Not online) (Obsoleted by RFC7) (Updated RFC8) (Also RFC9)");
    EXPECT_EQ(fields.obsoletedBy.numbers, std::vector<int32_t>{7});
    EXPECT_TRUE(fields.updatedBy.numbers.empty());
    EXPECT_EQ(fields.also.numbers, std::vector<int32_t>{9});
    EXPECT_TRUE(parse("9 T. A. (Not available) (Obsoletes RFC7)").obsoletes.numbers.empty());
}

TEST(IndexEntry, SurvivesTextsCutAnywhereAndHostileInput)
{
    for (const char* cut : {"9 T. A. (", "9 T. A. (Format:", "9 T. A. (Not", "9 T. A. (Not online",
                            "9 T. A. (Obsoleted", "9 T. A. (Obsoleted by RFC", "9 T. A. (Also FYI",
                            "9 T. A. (Status:", "9 T. A. (Updates 1) ("}) {
        bool ok = false;
        EXPECT_EQ(parse(cut, &ok).title, "T") << cut;
        EXPECT_TRUE(ok) << cut;
    }
    EXPECT_EQ(parse("9 T. A. (Format: TXT").format, "TXT");

    // Numbers too large for an int32 are not recorded; the list goes on.
    const std::string text = "9 T. A. (Updates RFC99999999999, RFC2147483648, RFC2147483647, 5)";
    expectNumbers(text, parse(text).updates, {2147483647, 5});
    EXPECT_EQ(parse("99999999999 Too large. A.").number, 0);

    std::string huge = "9 T. A. (Obsoletes ";
    while (huge.size() < 100000)
        huge += "RFC1, x, ,, ";
    EXPECT_GT(parse(huge).obsoletes.numbers.size(), 5000u);

    std::mt19937 random(611);
    const std::string alphabet = "0123456789 \t\r\n(),.:RFCrfcNot onlineFormat:ObsoletesUpdated byAlsoStatus:\f";
    for (int round = 0; round < 500; ++round) {
        std::string noise = "9 T. A. (";
        for (int k = 0; k < 300; ++k)
            noise += round % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        test::expectOffsetsOnDigits(noise, parse(noise));
    }
}

} // namespace
} // namespace parchly
