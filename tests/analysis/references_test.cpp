#include "analysis/references.h"

#include "analysis/references_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

namespace parchly {
namespace {

using test::expectConsistentReferences;

// The record with its contents located by the heading scan, the reader the
// pass read from, and the pass's result.
struct Analysed {
    explicit Analysed(const std::string& raw, AnalysisOptions options = {}) : reader(raw)
    {
        test::scanHeadingsAsContents(text, raw);
        result = analyseReferences(text, &reader, options);
    }
    RfcText text;
    LineReader reader;
    bool result = false;
};

using Entry = std::tuple<std::string, int32_t, int32_t, std::string, int32_t>;

// Label, first and last line, title and RFC number of every reference.
std::vector<Entry> entriesOf(const RfcText& text)
{
    std::vector<Entry> entries;
    for (const ReferenceEntry& e : text.references)
        entries.emplace_back(e.label, e.firstLine, e.lastLine, e.title, e.rfc);
    return entries;
}

const std::string kTwoSections =
    "Network Working Group                                      A. Author\n" // 0
    "\n"
    "1.  Introduction\n"
    "\n"
    "   Keywords follow [RFC2119] and then [RFC2616] on one line.\n" // 4
    "   A reference to [TBD] names nothing; [HTTP] is cited here.\n"
    "   An open bracket [RFC2119 without its end.\n"
    "\n"
    "2.  References\n" // 8: contents 2
    "\n"
    "2.1.  Normative References\n" // contents 3
    "\n"
    "   [RFC2119]  Bradner, S., \"Key words for use in RFCs to Indicate\n" // 12
    "              Requirement Levels\", BCP 14, RFC 2119, March 1997.\n"
    "\n"
    "   [HTTP]     Fielding, R., \"Hypertext Transfer Protocol -- HTTP/1.1\",\n" // 15
    "              RFC2616, June 1999.\n"
    "\n"
    "2.2.  Informative References\n" // 18: contents 4
    "\n"
    "   [RFC2616]  Fielding, R., \"Hypertext Transfer Protocol\", RFC 2616.\n" // 20
    "\n"
    "Author's Address\n" // 22: contents 5
    "\n"
    "   [X] Not a reference: this section is no references section.\n";

TEST(ReferencesTitle, AcceptsTheThreeTitlesAloneOrAfterAnAppendixMark)
{
    for (const char* title : {"REFERENCES", "informative references", "APPENDIX  b)\tNormative References",
                              "Appendix 12 References"})
        EXPECT_TRUE(isReferencesTitle(title)) << title;
    for (const char* title : {"", "9. References", "References ", "References and Notes",
                              "Normative  References", "Appendix A.1 References", "Appendix AB References"})
        EXPECT_FALSE(isReferencesTitle(title)) << title;
}

TEST(References, NormativeAndInformativeSectionsAndTheCitationsOfTheBody)
{
    Analysed analysed(kTwoSections);
    const RfcText& text = analysed.text;
    EXPECT_TRUE(analysed.result);
    ASSERT_EQ(entriesOf(text), (std::vector<Entry>{
                                   {"[RFC2119]", 12, 14, "Key words for use in RFCs to Indicate Requirement Levels", 2119},
                                   {"[HTTP]", 15, 17, "Hypertext Transfer Protocol -- HTTP/1.1", 2616},
                                   {"[RFC2616]", 20, 21, "Hypertext Transfer Protocol", 2616}}));
    EXPECT_EQ(text.references[1].section, 3);
    EXPECT_EQ(text.references[2].section, 4);
    EXPECT_FALSE(text.referencesWithoutTitles);

    // Only the first bracket pair of line 4 counts; line 5 begins with [TBD],
    // which names nothing, so its [HTTP] is lost; line 6 never closes.
    ASSERT_EQ(text.citations.size(), 1u);
    EXPECT_EQ(text.citations[0].line, 4);
    EXPECT_EQ(text.citations[0].startColumn, 19);
    EXPECT_EQ(text.citations[0].endColumn, 28);
    EXPECT_EQ(text.citations[0].reference, 0);
}

TEST(References, TitlesRfcNumbersAndALabelAloneOnItsLine)
{
    const std::string raw =
        "References\n"
        "\n"
        "   [A] Author, \"Updating RFC 1234\", RFC 2119, 1997.\n" // 2
        "\n"
        "   [B] Author, No title here, RFC2119.\n" // 4
        "\n"
        "   [C] Author, \"Unclosed title of RFC 7000\n" // 6
        "\n"
        "   [D] Author, \"Split\", RFC\n" // 8
        "       1766, March 1995.\n"
        "\n"
        "   [E] \"Editor\", RFC Editor, RFC 3000.\n" // 11
        "\n"
        "   [F] \"Huge\", RFC 99999999999.\n" // 13
        "\n"
        "   [RFC2119]\n" // 15
        "              Bradner, S., \"Key words\", BCP 14, RFC 2119.\n"
        "\n"
        "   [LONG-LABEL-ALONE]\n" // 18
        "   [G] Author, \"After a label alone\".\n"
        "\n"
        "   [LAST-ALONE]\n" // 21
        "\n"
        "   [H] Author, \"Read after the empty entry\".\n";
    Analysed analysed(raw);
    const RfcText& text = analysed.text;
    EXPECT_EQ(entriesOf(text), (std::vector<Entry>{
                                   // The "RFC" inside a title is not the one that counts,
                                   // and only the first one after it is read.
                                   {"[A]", 2, 3, "Updating RFC 1234", 2119},
                                   {"[B]", 4, 5, "", 2119},
                                   {"[C]", 6, 7, "", 7000},
                                   {"[D]", 8, 10, "Split", 1766},
                                   {"[E]", 11, 12, "Editor", 0},
                                   {"[F]", 13, 14, "Huge", 0},
                                   // A label alone on its line takes its text from the lines below it;
                                   {"[RFC2119]", 15, 17, "Key words", 2119},
                                   // followed at once by the next label, or by a blank line, it is
                                   // an entry without text, and the entries after it are still read.
                                   {"[LONG-LABEL-ALONE]", 18, 18, "", 0},
                                   {"[G]", 19, 20, "After a label alone", 0},
                                   {"[LAST-ALONE]", 21, 22, "", 0},
                                   {"[H]", 23, 23, "Read after the empty entry", 0}}));
    EXPECT_TRUE(text.referencesWithoutTitles);
}

TEST(References, PageBreaksInsideAndBetweenEntries)
{
    const std::string raw =
        "References\n"
        "\n"
        "   [A]  Author, \"First part of a title\n" // 2
        "Author                    Informational                    [Page 3]\n"
        "\f\n"
        "RFC 9999                  Fixture                   June 2020\n"
        "        continues here\", RFC 1000.\n"
        "\n" // 7
        "   [B]  Author, \"Ends before the footer\", RFC 2000.\n" // 8
        "\n"
        "\n"
        "Author                    Informational                    [Page 4]\n"
        "\f\n"
        "RFC 9999                  Fixture                   June 2020\n"
        "\n"
        "        continuation of B, which does not start with a bracket.\n"
        "\n"
        "   [C]  Author, \"After the page\", RFC 3000.\n" // 17
        "\n"
        "   Text that is no entry ends the section.\n"
        "\n"
        "   [D]  Never read.\n";
    Analysed analysed(raw);
    // The rest of [B] on the next page is passed over; the section goes on.
    EXPECT_EQ(entriesOf(analysed.text), (std::vector<Entry>{
                                            {"[A]", 2, 7, "First part of a title continues here", 1000},
                                            {"[B]", 8, 9, "Ends before the footer", 2000},
                                            {"[C]", 17, 18, "After the page", 3000}}));
}

TEST(References, CountsAreRestoredAndEarlierResultsReplaced)
{
    const std::string raw =
        "References\n\n   [A] \"x\"\n\n\f\n   [B] \"y\"\n\n\f\n\nAddresses\n\n   z\n";
    RfcText text;
    LineReader reader(raw);
    test::scanHeadingsAsContents(text, raw);
    text.lineCount = 42;
    text.pageCount = 5;
    text.referencesWithoutTitles = true;
    text.references.resize(7);
    ASSERT_TRUE(analyseReferences(text, &reader, AnalysisOptions()));
    EXPECT_EQ(text.references.size(), 2u);
    EXPECT_FALSE(text.referencesWithoutTitles);
    EXPECT_EQ(text.lineCount, 42);
    EXPECT_EQ(text.pageCount, 5);
}

TEST(References, NothingIsDoneWithoutAFileContentsOrPermission)
{
    AnalysisOptions disabled;
    disabled.disableReferenceAnalysis = true;
    Analysed switchedOff(kTwoSections, disabled);
    EXPECT_FALSE(switchedOff.result);
    EXPECT_TRUE(switchedOff.text.references.empty());
    EXPECT_TRUE(switchedOff.text.citations.empty());

    RfcText index;
    LineReader reader(kTwoSections);
    test::scanHeadingsAsContents(index, kTwoSections);
    index.isIndex = true;
    EXPECT_FALSE(analyseReferences(index, &reader, AnalysisOptions()));
    EXPECT_TRUE(index.references.empty());
    RfcText withoutContents;
    EXPECT_FALSE(analyseReferences(withoutContents, &reader, AnalysisOptions()));

    // References sections without entries give no citations.
    Analysed empty("1.  Intro\n\n   See [A].\n\nReferences\n\n   No brackets here.\n");
    EXPECT_FALSE(empty.result);
    EXPECT_TRUE(empty.text.citations.empty());
    EXPECT_FALSE(findCitations(empty.text, nullptr));
}

TEST(References, ASectionAtTheEndOfTheFileKeepsItsLastLine)
{
    Analysed last("1.  Intro\r\n"
                  "   See [RFC2119].\r\n"
                  "\r\n"
                  "References\r\n"
                  "\r\n"
                  "   [RFC2119]  Bradner, S., \"Key words\", BCP 14, RFC 2119.");
    EXPECT_EQ(entriesOf(last.text), (std::vector<Entry>{{"[RFC2119]", 5, 5, "Key words", 2119}}));
    ASSERT_EQ(last.text.citations.size(), 1u);
    EXPECT_EQ(last.text.citations[0].line, 1);
    EXPECT_EQ(last.text.citations[0].startColumn, 7);

    Analysed split("References\n\n   [A] Author,\n       \"Tail\", RFC 5.");
    EXPECT_EQ(entriesOf(split.text), (std::vector<Entry>{{"[A]", 2, 3, "Tail", 5}}));
}

TEST(References, SectionsEndAtTheNextLocatedHeadingOnly)
{
    // An entry that runs into the next heading leaves that section its own
    // entries.
    Analysed overrun("Normative References\n\n   [A]  \"A\", RFC 1.\n"
                     "Informative References\n\n   [B]  \"B\", RFC 2.\n");
    ASSERT_EQ(overrun.text.references.size(), 2u);
    EXPECT_EQ(overrun.text.references[0].section, 0);
    EXPECT_EQ(overrun.text.references[1].section, 1);

    // Without a located next heading a section runs to the end of the file,
    // passing over unindented lines; a heading past the end finds nothing.
    RfcText text;
    LineReader reader(kTwoSections);
    test::scanHeadingsAsContents(text, kTwoSections);
    text.contents[3].headingLine = 0;
    text.contents[4].headingLine = 1000;
    ASSERT_TRUE(analyseReferences(text, &reader, AnalysisOptions()));
    ASSERT_EQ(text.references.size(), 4u);
    for (const ReferenceEntry& reference : text.references)
        EXPECT_EQ(reference.section, 2);
    EXPECT_EQ(text.references[3].label, "[X]");
}

TEST(References, HostileInputEndsCleanly)
{
    std::string endless = "References\n\n";
    for (int i = 0; i < 3000; ++i)
        endless += "   [" + std::to_string(i) + "] \"" + std::to_string(i) + "\"\n\n";
    Analysed unending(endless);
    ASSERT_EQ(unending.text.references.size(), 3000u);
    EXPECT_EQ(unending.text.references.back().title, "2999");

    Analysed unclosed("References\n\n   [A] One.\n\n   [B Two, never closed.\n\n   [C] Three.\n");
    ASSERT_EQ(unclosed.text.references.size(), 1u);
    EXPECT_EQ(unclosed.text.references[0].label, "[A]");

    // A 100,000-byte line arrives in 1,023-byte pieces, each counted as a
    // line, and moves everything after it down by as many lines.
    const auto pieces = [](std::size_t bytes) { return static_cast<int32_t>((bytes + 1022) / 1023); };
    const std::string longBody = "   [" + std::string(99996, 'x') + "]\n";
    const std::string longEntry = "   [L] " + std::string(100000, 'y') + "\n";
    const std::string longLines =
        "1.  Intro\n\n" + longBody + "   See [L].\n\nReferences\n\n" + longEntry + "\n   [M] m\n";
    Analysed huge(longLines);
    const int32_t citationLine = 2 + pieces(longBody.size());
    ASSERT_EQ(huge.text.citations.size(), 1u);
    EXPECT_EQ(huge.text.citations[0].line, citationLine);
    ASSERT_EQ(huge.text.references.size(), 2u);
    EXPECT_EQ(huge.text.references[0].firstLine, citationLine + 4);
    EXPECT_EQ(huge.text.references[1].firstLine, citationLine + 5 + pieces(longEntry.size()));

    // Binary bytes, NULs, lone CRs, form feeds, quotes and brackets.
    std::mt19937 generator(2119);
    const char kAlphabet[] = "[]\" \t\r\n\f\0RFC1\xff";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int round = 0; round < 5; ++round) {
        std::string binary = "1.  Intro\n\n   [Q]\n\nReferences\n\n   [Q] \"q\"\n";
        for (int i = 0; i < 20000; ++i)
            binary += generator() % 3 == 0 ? alphabet[generator() % alphabet.size()]
                                           : static_cast<char>(generator() % 256);
        Analysed noise(binary);
        EXPECT_FALSE(noise.text.citations.empty());
        expectConsistentReferences(noise.text, binary);
    }
}

} // namespace
} // namespace parchly
