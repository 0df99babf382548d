// The cues of each line: which words the link and requirement passes start
// from. The scan reads the text in blocks, so words are also placed across
// every block boundary and at the very end of the text.
#include "analysis/line_cues.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace parchly {

bool operator==(const WordStart& a, const WordStart& b)
{
    return a.line == b.line && a.column == b.column;
}

namespace {

std::vector<uint8_t> cuesOf(const std::string& bytes)
{
    LineReader reader(bytes);
    return findLineCues(readTextLines(reader, RfcText())).families;
}

class LineCueFamilies : public testing::TestWithParam<test::FixtureCase> { };

TEST_P(LineCueFamilies, EachWordGivesItsFamily)
{
    const std::map<std::string, uint8_t> families = {
        {"bracket", kCueBracket}, {"rfc", kCueRfc},           {"series", kCueSeries},
        {"section", kCueSection}, {"appendix", kCueAppendix}, {"requirement", kCueRequirement}};
    uint8_t cues = 0;
    for (const std::string& family : GetParam().items("cues"))
        cues |= families.at(family);
    EXPECT_EQ(cuesOf(GetParam()["line"] + "\n"), std::vector<uint8_t>{cues});
}

INSTANTIATE_TEST_SUITE_P(LineCues, LineCueFamilies,
                         testing::ValuesIn(test::readFixtureCases("analysis/line-cues.txt")), test::caseName);

TEST(LineCues, AWordBelongsToTheLineItStartsOn)
{
    // Line ends and blank lines between: no word runs over a line end.
    EXPECT_EQ(cuesOf("RF\nC\n\nMUST\r\n\nx RFC"),
              (std::vector<uint8_t>{0, 0, 0, kCueRequirement, 0, kCueRfc}));
    // A line longer than the line buffer comes in pieces of 1,023 bytes: a
    // word cut by the piece boundary counts for the piece it starts in.
    const std::string pieces = std::string(1021, 'x') + "RFC 1\n";
    EXPECT_EQ(cuesOf(pieces), (std::vector<uint8_t>{kCueRfc, 0}));
    // "Section" is found from its "ction", here in the next piece.
    const std::string sectionPieces = std::string(1021, 'x') + "Section 1\n";
    EXPECT_EQ(cuesOf(sectionPieces), (std::vector<uint8_t>{kCueSection, 0}));
}

// The link pass reads a line only from its words that start a link: each
// word's own start ("Section" found from its "ction"), not a requirement
// keyword's, and only of the families asked for. The requirement pass
// reads the keywords' starts alone.
TEST(LineCues, WordStartsAreWhereEachWordBeginsByFamily)
{
    const std::string text = "a MUST then Section 3 and [1] MAY\n"
                             "no word at all\n"
                             "x appendix A\n"
                             "RFC 1 at the start\n"
                             "  MAY only\n";
    LineReader reader(text);
    const TextLines lines = readTextLines(reader, RfcText());
    EXPECT_EQ(findLineCues(lines).linkStarts, (std::vector<WordStart>{{0, 12}, {0, 26}, {2, 2}, {3, 0}}));
    EXPECT_EQ(findLineCues(lines, kCueBracket).linkStarts, (std::vector<WordStart>{{0, 26}}));
    EXPECT_EQ(findLineCues(lines).keywordStarts, (std::vector<WordStart>{{0, 2}, {0, 30}, {4, 2}}));
    EXPECT_TRUE(findLineCues(lines, kCueLinkStart).keywordStarts.empty());
}

// Every word at every offset of texts of 40 and 64 bytes, which puts it
// across the boundaries of the blocks the scan reads and against the end of
// the text, in a part block or a whole one with no byte past it.
TEST(LineCues, WordsAtEveryOffsetOfTheBlocksAndTheEnd)
{
    const std::pair<const char*, uint8_t> words[] = {
        {"[", kCueBracket},        {"RFC", kCueRfc},
        {"FYI", kCueSeries},       {"Section", kCueSection},
        {"APPENDI", kCueAppendix}, {"RECOMMENDED", kCueRequirement},
        {"MAY", kCueRequirement},  {"SHOULD", kCueRequirement},
    };
    for (const std::size_t length : {40, 64}) {
        for (const auto& [word, cue] : words) {
            const std::string w(word);
            for (std::size_t at = 0; at < length; ++at) {
                // The text is one line of dots with the word at `at`, cut at
                // the end of the text where it does not fit.
                std::string text(length, '.');
                text.replace(at, std::min(w.size(), length - at), w.substr(0, length - at));
                const bool whole = at + w.size() <= length;
                SCOPED_TRACE(text);
                EXPECT_EQ(cuesOf(text), std::vector<uint8_t>{static_cast<uint8_t>(whole ? cue : 0)});
            }
        }
    }
}

// The scan reads a long text a part at a time: a word is found on its line
// wherever it falls, at the end of a part or across two, and only there.
TEST(LineCues, AWordAnywhereInALongTextIsFoundOnItsLine)
{
    std::string text;
    while (text.size() < 9000)
        text += std::string(3, ' ') + std::string(60, '.') + "\n";
    constexpr std::size_t kLine = 64;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at % kLine + 3 >= kLine - 1)
            continue; // the word would run over the line end
        std::string withWord = text;
        withWord.replace(at, 3, "RFC");
        std::vector<uint8_t> expected(text.size() / kLine, 0);
        expected[at / kLine] = kCueRfc;
        ASSERT_EQ(cuesOf(withWord), expected) << "at " << at;
    }
}

// A caller that asks for some families gets those of the full scan and no
// other, whichever way the scan goes for them.
TEST(LineCues, OnlyTheFamiliesAskedForAreNoted)
{
    const std::string text =
        std::string(30, '.') + "[RFC2119] MUST\nSection 3 [x\n\n" + std::string(1030, ' ') + "[y] BCP 14\n[";
    LineReader reader(text);
    const TextLines lines = readTextLines(reader, RfcText());
    const std::vector<uint8_t> all = findLineCues(lines).families;
    for (const uint8_t families :
         {kCueBracket, static_cast<uint8_t>(kCueBracket | kCueRequirement), kCueLinkStart, kCueRequirement}) {
        std::vector<uint8_t> expected = all;
        for (uint8_t& cue : expected)
            cue &= families;
        EXPECT_EQ(findLineCues(lines, families).families, expected) << int(families);
    }
}

// The vector filters only narrow down where a word may start: each must
// give the cues of reading every byte. A text drawn from the words, their
// parts and single letters, with line ends and brackets, puts words and
// near misses ("RFE", "SHx", "Sectio") at every offset of the blocks, and
// bytes from 0x80 up (UTF-8) before and after them.
TEST(LineCues, EveryCandidateFilterGivesTheCuesOfEveryByte)
{
    const char* const pieces[] = {
        "RFC",      "REQUIRED", "RECOMMENDED", "Section", "section",  "SECTION",
        "Appendix", "appendix", "APPENDIX",    "BCP",     "FYI",      "STD",
        "SHALL",    "SHOULD",   "MUST",        "MAY",     "OPTIONAL", "[",
        "]",        " ",        "\n",          "R",       "E",        "S",
        "e",        "c",        "p",           "A",       "Sectio",   "ppend",
        "RF",       "SH",       "MU",          "x",       "\xc3\xa9", "\xe2\x80\x94",
        "\xd2"};
    std::string text;
    uint32_t state = 12345;
    while (text.size() < 20000) {
        state = state * 1103515245u + 12345u;
        text += pieces[(state >> 16) % std::size(pieces)];
    }
    LineReader reader(text);
    const TextLines lines = readTextLines(reader, RfcText());
    const LineCues expected = findLineCues(lines, kCueAll, CandidateFilter::EveryByte);
    ASSERT_NE(std::count(expected.families.begin(), expected.families.end(), 0),
              static_cast<std::ptrdiff_t>(expected.families.size()));
    for (const CandidateFilter filter : {CandidateFilter::TwoCapitals, CandidateFilter::BytePairs}) {
        if (!runs(filter))
            continue;
        const LineCues found = findLineCues(lines, kCueAll, filter);
        EXPECT_EQ(found.families, expected.families) << int(filter);
        EXPECT_EQ(found.linkStarts, expected.linkStarts) << int(filter);
        EXPECT_EQ(found.keywordStarts, expected.keywordStarts) << int(filter);
    }
}

} // namespace
} // namespace parchly
