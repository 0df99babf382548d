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
    test::expectOffsetsOnDigits(text, fields);
    return fields;
}

using Numbers = std::vector<int32_t>;

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
    EXPECT_EQ(fields.obsoletes.numbers, Numbers{5});
    EXPECT_TRUE(fields.also.numbers.empty());
    EXPECT_EQ(fields.status, "UNKNOWN");

    // Every number group, with both cases of the prefix and a BCP in "Also".
    const std::string full = sampleEntryText(10);
    fields = parse(full);
    EXPECT_EQ(full.substr(fields.formatStart, 4), "TXT)");
    EXPECT_EQ(fields.obsoletes.numbers, Numbers{3});
    EXPECT_EQ(fields.obsoletedBy.numbers, (Numbers{16, 24}));
    EXPECT_EQ(fields.updatedBy.numbers, Numbers{12});
    EXPECT_TRUE(fields.also.numbers.empty());

    // "Status:" before "Format:": the format is never read.
    fields = parse(sampleEntryText(20));
    EXPECT_EQ(fields.status, "INTERNET STANDARD");
    EXPECT_EQ(fields.format, "");

    // The file ends inside the group: what was read stays.
    bool ok = false;
    EXPECT_EQ(parse(sampleEntryText(33), &ok).updates.numbers, Numbers{1});
    EXPECT_TRUE(ok);
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

TEST(IndexEntry, NumbersInTheirShapesAndGroupsOnlyInTheirOrder)
{
    const std::string text = "9 T. A. (Obsoletes RFC0733,, rfc 12 , Rfc0013 RFC0000, 14)"
                             " (Updated by RFC2817, rfc3143) (Also FYI 0012, BCP0014, RFC0099, STD 5)";
    IndexEntryFields fields = parse(text);
    EXPECT_EQ(fields.obsoletes.numbers, (Numbers{733, 12, 13, 14}));
    EXPECT_EQ(text.substr(fields.obsoletes.offsets.at(0), 4), "0733");
    EXPECT_EQ(fields.updatedBy.numbers, (Numbers{2817, 3143}));
    EXPECT_EQ(fields.also.numbers, Numbers{99});

    // Updates before Obsoletes: the parse has passed Obsoletes and stops.
    fields = parse("9 T. A. (Updates RFC1) (Obsoletes RFC2) (Status: X)");
    EXPECT_EQ(fields.updates.numbers, Numbers{1});
    EXPECT_TRUE(fields.obsoletes.numbers.empty());
    EXPECT_EQ(fields.status, "");

    // Absent groups are passed over; a word that is no group ends the parse.
    fields = parse("9 T. A. (Format: TXT) (Also RFC3) (DOI: 10.1/RFC9) (Status: X)");
    EXPECT_EQ(fields.format, "TXT");
    EXPECT_EQ(fields.also.numbers, Numbers{3});
    EXPECT_EQ(fields.status, "");

    // Groups must follow each other directly; two-word groups record nothing
    // without their second word.
    EXPECT_TRUE(parse("9 T. A. (Obsoletes RFC1) and (Updates RFC2)").updates.numbers.empty());
    fields = parse("9 T. A. (Not online) (Obsoleted by RFC7) (Updated RFC8) (Also RFC9)");
    EXPECT_EQ(fields.obsoletedBy.numbers, Numbers{7});
    EXPECT_TRUE(fields.updatedBy.numbers.empty());
    EXPECT_EQ(fields.also.numbers, Numbers{9});
    EXPECT_TRUE(parse("9 T. A. (Not available) (Obsoletes RFC7)").obsoletes.numbers.empty());
}

TEST(IndexEntry, SurvivesTextsCutAnywhereAndHostileInput)
{
    for (const char* cut : {"9 T. A. (", "9 T. A. (Not online", "9 T. A. (Obsoleted by RFC", "9 T. A. (Also FYI",
                            "9 T. A. (Status:", "9 T. A. (Updates 1) ("}) {
        bool ok = false;
        EXPECT_EQ(parse(cut, &ok).title, "T") << cut;
        EXPECT_TRUE(ok) << cut;
    }
    EXPECT_EQ(parse("9 T. A. (Format: TXT").format, "TXT");

    // Numbers too large for an int32 are not recorded; the list goes on.
    EXPECT_EQ(parse("9 T. A. (Updates RFC99999999999, RFC2147483648, RFC2147483647, 5)").updates.numbers,
              (Numbers{2147483647, 5}));
    EXPECT_EQ(parse("99999999999 Too large. A.").number, 0);

    std::string huge = "9 T. A. (Obsoletes ";
    while (huge.size() < 100000)
        huge += "RFC1, x, ,, ";
    EXPECT_GT(parse(huge).obsoletes.numbers.size(), 5000u);

    // Noise after an open group, of group words or of any bytes.
    std::mt19937 random(611);
    const std::string alphabet = "0123456789 \t\r\n(),.:RFCrfcNot onlineFormat:ObsoletesUpdated byAlsoStatus:\f";
    for (int round = 0; round < 200; ++round) {
        std::string noise = "9 T. A. (";
        for (int k = 0; k < 300; ++k)
            noise += round % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        parse(noise);
    }
}

} // namespace
} // namespace parchly
