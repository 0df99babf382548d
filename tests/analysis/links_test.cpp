// What the record offers beside its parchly-analyse dump (the links and
// requirement sentences of golden/links.txt are in golden/links.json): the
// link at a column, where a requirement's sentence starts, the CSV fields.
#include "analysis_support.h"

#include "analysis/links.h"
#include "analysis/requirements_csv.h"
#include "analysis/section_anchors.h"
#include "analysis/section_number_map.h"
#include "support/fixture_cases.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace parchly {
namespace {

using Anchors = std::vector<std::pair<int32_t, std::string>>;

ContentEntry locatedEntry(const std::string& number, const std::string& title, int32_t line)
{
    ContentEntry entry;
    entry.number = number;
    entry.title = title;
    entry.headingLine = line;
    entry.matched = true;
    return entry;
}

// The anchors of `text` over the lines of `body`, as line and "number title".
Anchors anchorsOf(RfcText& text, const std::string& body)
{
    LineReader reader(body);
    const TextLines lines = readTextLines(reader, text);
    collectSectionAnchors(text, lines);
    Anchors anchors;
    for (const SectionAnchor& anchor : text.sectionAnchors)
        anchors.emplace_back(anchor.line, anchor.number + " " + anchor.title);
    return anchors;
}

TEST(Links, LinkAtAColumnAndTheStartOfASentence)
{
    const std::string bytes = test::goldenBytes("links.txt");
    const RfcText text = test::analyseBytes(bytes).text;
    const std::vector<std::string> lines = test::readerLines(bytes);
    int32_t line = 0;
    while (lines.at(static_cast<std::size_t>(line)).find("X01") == std::string::npos)
        ++line;
    const auto column = [&](const char* part) {
        return static_cast<int32_t>(lines[static_cast<std::size_t>(line)].find(part));
    };
    const LinkMark* section = linkAt(text, line, column("3.2"));
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->targetSection, "3.2");
    EXPECT_EQ(linkAt(text, line, column(" of ")), nullptr);

    ASSERT_FALSE(text.requirements.empty());
    const RequirementSentence& last = text.requirements.back();
    EXPECT_EQ(lines.at(static_cast<std::size_t>(last.sentenceLine))
                  .substr(static_cast<std::size_t>(last.sentenceColumn), 24),
              "Nothing here is REQUIRED");
}

// A link as kind, line, columns, RFC and section.
using LinkFacts = std::tuple<LinkKind, int32_t, int32_t, int32_t, int32_t, std::string>;

std::vector<LinkFacts> linkFactsOf(const std::string& bytes)
{
    std::vector<LinkFacts> facts;
    for (const LinkMark& link : test::analyseBytes(bytes).text.links)
        facts.emplace_back(link.kind, link.line, link.startColumn, link.endColumn, link.targetRfc,
                           link.targetSection);
    return facts;
}

// A word is read eight or sixteen bytes at a time where the text has them:
// a phrase cut by the end of a piece of a long line is read as byte by
// byte (a phrase that ends the text: golden/small-texts.cases).
TEST(Links, APhraseIsReadWholeAtAPiecesEnd)
{
    const auto kSection = LinkKind::Section;
    const auto kRfc = LinkKind::Rfc;
    // The line's second piece starts 1,023 bytes in: "Sections" whole in
    // the first, cut by its end, or whole in the second.
    const std::pair<std::size_t, std::vector<LinkFacts>> pieces[] = {
        {1010, {{kSection, 3, 0, 1, 9, "3"}, {kSection, 3, 6, 7, 9, "4"}, {kRfc, 3, 11, 16, 9, ""}}},
        {1015, {{kRfc, 3, 16, 21, 9, ""}}},
        {1019, {{kSection, 3, 0, 10, 9, "3"}, {kSection, 3, 15, 16, 9, "4"}, {kRfc, 3, 20, 25, 9, ""}}},
    };
    for (const auto& [width, links] : pieces) {
        SCOPED_TRACE(width);
        EXPECT_EQ(
            linkFactsOf("Title\n\n   " + std::string(width, 'x') + " Sections 3 and 4 of RFC 9 and more\n"),
            links);
    }
}

// The keywords are looked for sixteen bytes at a time: each form is found
// once, at its column, wherever it falls in the blocks and at the line end.
TEST(Requirements, EachKeywordFoundOnceAtEveryOffsetOfItsLine)
{
    const char* const forms[] = {"MUST NOT",        "SHALL", "SHOULD NOT", "REQUIRED",
                                 "NOT RECOMMENDED", "MAY",   "OPTIONAL"};
    for (const std::string form : forms) {
        for (std::size_t offset = 0; offset < 40; ++offset) {
            const std::string line = "   " + std::string(offset, 'x') + " " + form;
            SCOPED_TRACE(line);
            const RfcText text = test::analyseBytes("Title\n\n" + line + "\n   and so on.\n").text;
            ASSERT_EQ(text.requirements.size(), 1u);
            EXPECT_EQ(text.requirements[0].keyword, form);
            EXPECT_EQ(text.requirements[0].line, 2);
            EXPECT_EQ(text.requirements[0].column, static_cast<int32_t>(4 + offset));
        }
    }
}

// Sentence ends are looked for sixteen bytes at a time, forwards and
// backwards: each sentence is cut at its own end and at the end before it,
// wherever they fall in the blocks, past the dots that end no sentence.
TEST(Requirements, SentenceCutAtItsEndsAtEveryOffset)
{
    for (const std::string mark : {".", "!", "?"}) {
        for (std::size_t offset = 0; offset < 40; ++offset) {
            const std::string paragraph = "   " + std::string(offset, 'x') + mark
                + " A client MUST send e.g. this\n   and i.e. that" + mark + " Then "
                + std::string(offset, 'y') + " more.\n";
            SCOPED_TRACE(paragraph);
            const RfcText text = test::analyseBytes("Title\n\n" + paragraph).text;
            ASSERT_EQ(text.requirements.size(), 1u);
            EXPECT_EQ(text.requirements[0].sentence, "A client MUST send e.g. this and i.e. that" + mark);
        }
    }
}

// The paragraph that defines the keywords is looked for sixteen bytes at a
// time from its "k": each way of writing "key words" is found wherever it
// falls in the blocks, and a paragraph that only looks like it keeps its
// keyword.
TEST(Requirements, KeywordDefinitionLeftOutAtEveryOffset)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"key words", 0},  {"Key words", 0},      {"keywords", 0}, {"Keywords", 0},
        {"key  words", 1}, {"keys and words", 1}, {"Key-words", 1}};
    for (const auto& [phrase, kept] : cases) {
        for (std::size_t offset = 0; offset < 40; ++offset) {
            const std::string paragraph = "   " + std::string(offset, 'x') + " The " + phrase
                + " \"MUST\" in this\n   document are to be interpreted as described in RFC 2119.\n";
            SCOPED_TRACE(paragraph);
            EXPECT_EQ(test::analyseBytes("Title\n\n" + paragraph).text.requirements.size(), kept);
        }
    }
}

// The words of a phrase are read sixteen bytes at a time where the line
// has them: an RFC number is read whole after a word of letters and digits
// of every length, up to whatever byte ends it, within a line and at the
// end of a text with no line end.
TEST(Links, AnRfcNumberIsReadWholeWhereverItsWordsEnd)
{
    const std::pair<const char*, bool> after[] = {
        {"", true},   {".", true},   {"\x15", true}, {"\xc3\xa9", true}, {"@", true},
        {"`", true},  {"{", true},   {"/", true},    {":", true},        {"a", false},
        {"Z", false}, {"99", false}, {".5", false}};
    const std::string letters = "aZ0z9A";
    for (std::size_t length = 0; length < 40; ++length) {
        std::string word;
        for (std::size_t i = 0; i < length; ++i)
            word += letters[i % letters.size()];
        for (const auto& [tail, linked] : after) {
            for (const std::string end : {"", " as the text goes on\n"}) {
                const std::string line = "   " + word + " RFC 1234" + tail + end;
                SCOPED_TRACE(line);
                const RfcText text = test::analyseBytes("Title\n\n" + line).text;
                ASSERT_EQ(text.links.size(), linked ? 1u : 0u);
                if (linked) {
                    EXPECT_EQ(text.links[0].targetRfc, 1234);
                    EXPECT_EQ(text.links[0].endColumn, static_cast<int32_t>(length + 12));
                }
            }
        }
    }
}

// A line without a blank, a pasted list of numbers as long as the first
// piece a line is read in: every RFC number in it is read from where the
// one before it ended.
TEST(Links, EveryRfcNumberOfALineWithoutBlanksIsFound)
{
    std::string line = "   ";
    std::vector<LinkFacts> expected;
    for (int32_t number = 1000; number < 1120; ++number) {
        const auto start = static_cast<int32_t>(line.size());
        line += "RFC" + std::to_string(number) + "/";
        expected.emplace_back(LinkKind::Rfc, 2, start, start + 7, number, "");
    }
    EXPECT_EQ(linkFactsOf("Title\n\n" + line + "\n"), expected);
}

// The lines with a keyword are looked for eight lines at a time: a keyword
// line is found wherever it falls among them, up to the text's last line,
// and a second one in the same eight is found too.
TEST(Requirements, KeywordLinesFoundAtEveryLineOfTheText)
{
    for (std::size_t total = 1; total < 20; ++total) {
        for (std::size_t first = 0; first < total; ++first) {
            std::vector<std::string> body(total, "");
            body[first] = "   A client MUST send it.";
            const std::size_t second = first + 2;
            if (second < total)
                body[second] = "   A server MAY drop it.";
            std::string bytes = "Title\n";
            for (const std::string& line : body)
                bytes += line + "\n";
            SCOPED_TRACE(bytes);
            const RfcText text = test::analyseBytes(bytes).text;
            ASSERT_EQ(text.requirements.size(), second < total ? 2u : 1u);
            EXPECT_EQ(text.requirements[0].line, static_cast<int32_t>(first + 1));
            if (second < total) {
                EXPECT_EQ(text.requirements[1].line, static_cast<int32_t>(second + 1));
            }
        }
    }
}

class RequirementSentences : public ::testing::TestWithParam<test::FixtureCase> { };

TEST_P(RequirementSentences, EachIsCutAtItsOwnEnds)
{
    const RfcText text = test::analyseBytes("Title\n\n   " + GetParam()["paragraph"] + "\n").text;
    ASSERT_EQ(text.requirements.size(), 1u);
    EXPECT_EQ(text.requirements[0].sentence, GetParam()["sentence"]);
}

INSTANTIATE_TEST_SUITE_P(Requirements, RequirementSentences,
                         ::testing::ValuesIn(test::readFixtureCases("analysis/requirement-sentences.txt")),
                         test::caseName);

// A paragraph's lines are joined in a buffer that grows as a long paragraph
// needs and serves the next: the sentences read after it grew, and those
// of the paragraph after it, are whole and in their places.
TEST(Requirements, SentencesWholeAfterALongParagraphIsJoined)
{
    std::string bytes = "Title\n\n";
    for (int line = 0; line < 60; ++line)
        bytes += "   Line " + std::to_string(line) + " of a long paragraph says little.\n";
    bytes += "   A client MUST send it, and a server\n   MAY drop it.\n\n   Then SHALL it end.\n";
    const RfcText text = test::analyseBytes(bytes).text;
    ASSERT_EQ(text.requirements.size(), 3u);
    const std::string both = "A client MUST send it, and a server MAY drop it.";
    const std::tuple<const char*, int32_t, int32_t, std::string> expected[] = {
        {"MUST", 62, 12, both}, {"MAY", 63, 3, both}, {"SHALL", 65, 8, "Then SHALL it end."}};
    for (std::size_t i = 0; i < 3; ++i) {
        const RequirementSentence& requirement = text.requirements[i];
        EXPECT_EQ(std::tie(requirement.keyword, requirement.line, requirement.column, requirement.sentence),
                  expected[i]);
    }
    EXPECT_EQ(text.requirements[1].sentenceLine, 62);
    EXPECT_EQ(text.requirements[1].sentenceColumn, 3);
}

// Three pages of an RFC whose first ends in `before` and whose second opens
// with `after`, page footers and headers between them.
std::string textAcrossAPageBreak(const std::string& before, const std::string& after,
                                 const std::string& title = "A Test Text")
{
    std::string filler;
    for (int line = 0; line < 40; ++line)
        filler += "   Filler line " + std::to_string(line) + " of the page says nothing at all here\n";
    const auto footer = [](int page) {
        return "\nTester                        Standards Track                  [Page "
            + std::to_string(page) + "]\n\f\n";
    };
    const std::string header = "RFC 9999                    " + title + "                    March 2024\n\n";
    return "Title Of Test\n\n" + filler + "\n" + before + footer(1) + header + after + "\n\n   More text.\n"
        + filler + footer(2) + header + filler + footer(3);
}

// A sentence runs on over a page break where the text on both sides is
// indented; a line at the margin after the break, or a blank line without
// one, ends its paragraph.
TEST(Requirements, SentenceRunsOnOverAPageBreakBetweenIndentedLines)
{
    const std::string keyword = "   A client MUST send the message when the";
    const std::pair<std::string, const char*> cases[] = {
        {textAcrossAPageBreak(keyword, "   server asks for it."),
         "A client MUST send the message when the server asks for it."},
        {textAcrossAPageBreak(keyword, "server asks for it."), "A client MUST send the message when the"},
        {textAcrossAPageBreak(keyword + "\n\n   server asks for it.", "   Then more."),
         "A client MUST send the message when the"}};
    for (const auto& [bytes, sentence] : cases) {
        const RfcText text = test::analyseBytes(bytes).text;
        ASSERT_EQ(text.requirements.size(), 1u);
        EXPECT_EQ(text.requirements[0].sentence, sentence);
    }
}

// The keywords of a page's header and footer are none of the paragraph
// that runs on over them, and the keywords after them are found where they
// stand.
TEST(Requirements, KeywordsOfAPageHeaderInsideAParagraphAreNone)
{
    const RfcText text =
        test::analyseBytes(textAcrossAPageBreak("   A client MUST send the message when the",
                                                "   server asks for it, and it SHOULD retry.", "SHALL NOT"))
            .text;
    ASSERT_EQ(text.requirements.size(), 2u);
    const char* const sentence =
        "A client MUST send the message when the server asks for it, and it SHOULD retry.";
    EXPECT_EQ(text.requirements[0].keyword, "MUST");
    EXPECT_EQ(text.requirements[0].column, 12);
    EXPECT_EQ(text.requirements[0].sentence, sentence);
    EXPECT_EQ(text.requirements[1].keyword, "SHOULD");
    EXPECT_EQ(text.requirements[1].line, text.requirements[0].line + 5);
    EXPECT_EQ(text.requirements[1].column, 30);
    EXPECT_EQ(text.requirements[1].sentence, sentence);
}

// Room is made for as many links and requirements as words that may start
// one; a grammar full of brackets starts far more than it holds links, and
// the record, which lives as long as its window, keeps no spare room.
TEST(Links, ABracketedGrammarLeavesNoSpareRoomInTheRecord)
{
    std::string grammar = "Title\n\n   See RFC 9110. A client MUST send it.\n\n";
    for (int rule = 0; rule < 500; ++rule)
        grammar += "   rule" + std::to_string(rule) + " = [ a ] [ b ] MAYBE\n";
    const RfcText text = test::analyseBytes(grammar).text;
    ASSERT_EQ(text.links.size(), 1u);
    EXPECT_LE(text.links.capacity(), 2u);
    ASSERT_EQ(text.requirements.size(), 1u);
    EXPECT_LE(text.requirements.capacity(), 2u);
}

// Where five lines or more follow, eight lines are told at a time: a
// heading at every line of a longer text, with its number in each form,
// indented or not, is found where it stands, also against the text's end
// and after a long line whose last piece is all blanks.
TEST(SectionAnchors, ABodyHeadingIsFoundAtEveryLineOfALongerText)
{
    const std::pair<const char*, const char*> headings[] = {
        {"7.  Seven", "7 Seven"},      {"B.  Bee", "B Bee"},          {"Appendix C.  Sea", "C Sea"},
        {"APPENDIX D.  Dee", "D Dee"}, {"       10.  TEN", "10 TEN"},
    };
    const std::string blankPiece = std::string(1030, ' ') + "\n";
    constexpr int32_t kLines = 30;
    for (const bool withPiece : {false, true}) {
        for (const auto& [heading, anchor] : headings) {
            for (int32_t at = 0; at < kLines; ++at) {
                std::string body = "x\n";
                for (int32_t line = 0; line < kLines; ++line) {
                    if (line == at)
                        body += std::string(heading) + "\n";
                    else
                        body += withPiece && line == 20 ? blankPiece : "   2 lines of filler text\n";
                }
                // The blank piece is two lines of the reader's.
                const int32_t number = at + 2 + (withPiece && at > 20 ? 1 : 0);
                SCOPED_TRACE(std::string(heading) + " at " + std::to_string(at));
                RfcText text;
                EXPECT_EQ(anchorsOf(text, body), (Anchors{{number, anchor}}));
            }
        }
    }
}

// A numbered line at the margin whose number the contents or the headings
// already name is a list item, not a heading: known numbers of every length
// (seven bytes and fewer are looked up one way, longer ones another) are
// told from the numbers they are not.
TEST(SectionAnchors, ABodyLineWithAKnownNumberIsNoAnchor)
{
    RfcText text;
    for (const auto& [number, line] : std::vector<std::pair<std::string, int32_t>>{
             {"1.2", 1}, {"10.10.1", 2}, {"10.10.10", 3}, {"A.1", 4}})
        text.contents.push_back(locatedEntry(number + ".", "Known", line));
    text.headings.push_back({5, "", "B.2.  Heading"});
    const std::string body = "1.2.  Known\n10.10.1.  Known\n10.10.10.  Known\nA.1.  Known\nB.2.  Heading\n"
                             "1.2.  Again\n10.10.1.  Again\n10.10.10.  Again\nB.2.  Again\n"
                             "1.20.  New\n10.10.2.  New\n10.10.100.  New\n10.10.11.  New\nB.  New\n";
    EXPECT_EQ(anchorsOf(text, body),
              (Anchors{{1, "1.2 Known"},
                       {2, "10.10.1 Known"},
                       {3, "10.10.10 Known"},
                       {4, "A.1 Known"},
                       {5, "B.2 Heading"},
                       {10, "1.20 New"},
                       {11, "10.10.2 New"},
                       {12, "10.10.100 New"},
                       {13, "10.10.11 New"},
                       {14, "B New"}}));
}

// The body lines are passed over on the bytes at their indentation: a
// heading is found on the last lines of a text with or without a line end,
// after a blank line and after a piece of a long line, and only a capital
// with its dot or the "A" of "Appendix" opens one.
TEST(SectionAnchors, ABodyHeadingIsFoundOnEveryLineUpToTheEnd)
{
    const std::string blankPiece = std::string(1030, ' ') + "\n";
    const std::pair<std::string, Anchors> cases[] = {
        {"x\n\n2.  Last", {{3, "2 Last"}}},
        {"x\n2.  Next to last\n\n", {{2, "2 Next to last"}}},
        {"x\n\n\nB.  End\n", {{4, "B End"}}},
        {"x\nAppendix A.  Last", {{2, "A Last"}}},
        {"x\nA\n", {}},
        {"x\nB", {}},
        {"Bx. x\nBy 2.  Words\nA client\nAn 3.  Item\n", {}},
        {blankPiece + "3.  After blanks\n", {{3, "3 After blanks"}}},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body.substr(0, 40));
        RfcText text;
        EXPECT_EQ(anchorsOf(text, body), expected);
    }
}

// A section link goes to the heading named first of those with its number
// (the contents before the headings), for short and long numbers alike.
// The anchors come in line order whatever order the contents name their
// sections in; on a line named twice the contents' entry wins over the
// heading, and the heading over the body's own numbered line.
TEST(SectionAnchors, InLineOrderWithTheContentsFirstOnALine)
{
    const std::string body = "x\n2.  Two\n1.  One\nx\n4.  Four\n";
    const Anchors expected{{2, "2 Two"}, {3, "1 One"}, {4, "3 Three"}, {5, "4 Four"}};
    for (const bool contentsInOrder : {true, false}) {
        RfcText text;
        text.contents = {locatedEntry("2.", "Two", 2), locatedEntry("3.", "Three", 4)};
        if (!contentsInOrder)
            std::swap(text.contents[0], text.contents[1]);
        text.headings = {{2, "", "2.  Heading of two"}, {3, "", "1.  One"}};
        SCOPED_TRACE(contentsInOrder);
        EXPECT_EQ(anchorsOf(text, body), expected);
    }
}

TEST(SectionNumberMap, TheFirstAddedOfANumberIsFound)
{
    SectionNumberMap<int> map;
    const std::pair<const char*, int> added[] = {
        {"3.2", 1},  {"10.10.10", 2}, {"3.2", 3},   {"10.10.10", 4}, {"1234567", 5}, {"A", 6},
        {"3.20", 7}, {"B.1", 8},      {"2.3.4", 9}, {"10.2.3", 10},  {"12", 11}};
    for (const auto& [number, value] : added) {
        const bool isNew = value != 3 && value != 4;
        EXPECT_EQ(map.add(number, value), isNew) << number;
    }
    // Near misses differ from a number added in one byte, at each length.
    const std::pair<const char*, int> found[] = {
        {"3.2", 1},      {"10.10.10", 2}, {"1234567", 5}, {"A", 6},   {"3.20", 7},  {"B.1", 8},
        {"2.3.4", 9},    {"10.2.3", 10},  {"12", 11},     {"3", 0},   {"3.2.", 0},  {"10.10.1", 0},
        {"12345678", 0}, {"", 0},         {"B.2", 0},     {"C.1", 0}, {"2.3.5", 0}, {"2.4.4", 0},
        {"10.2.4", 0},   {"11.2.3", 0},   {"13", 0}};
    for (const auto& [number, value] : found) {
        const int* at = map.find(number);
        EXPECT_EQ(at != nullptr ? *at : 0, value) << number;
    }
}

// The table grows as numbers come: a document with hundreds of sections
// finds every one, the short and the long alike.
TEST(SectionNumberMap, FindsEveryNumberOfALongDocument)
{
    std::vector<std::string> numbers;
    for (int major = 1; major <= 40; ++major) {
        numbers.push_back(std::to_string(major));
        for (int minor = 1; minor <= 12; ++minor)
            numbers.push_back(std::to_string(major) + ".10." + std::to_string(minor));
    }
    SectionNumberMap<std::size_t> map;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        ASSERT_TRUE(map.add(numbers[i], i)) << numbers[i];
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t* at = map.find(numbers[i]);
        ASSERT_NE(at, nullptr) << numbers[i];
        EXPECT_EQ(*at, i) << numbers[i];
    }
    EXPECT_EQ(map.find("41"), nullptr);
    EXPECT_EQ(map.find("1.10.13"), nullptr);
}

class CsvFields : public ::testing::TestWithParam<test::FixtureCase> { };

TEST_P(CsvFields, WrittenAsRfc4180QuotesNeverOpeningAFormula)
{
    EXPECT_EQ(csvField(GetParam()["value"]), GetParam()["field"]);
}

INSTANTIATE_TEST_SUITE_P(Requirements, CsvFields,
                         ::testing::ValuesIn(test::readFixtureCases("analysis/csv-fields.txt")),
                         test::caseName);

} // namespace
} // namespace parchly
