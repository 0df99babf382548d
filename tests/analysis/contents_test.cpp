// The table of contents, the headings before it and in the body, the
// structure built from the text, and the line lookups.
#include "analysis/headings.h"
#include "analysis/line_mapping.h"
#include "analysis/section_lookup.h"
#include "analysis/structure_from_text.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace parchly {
namespace {

using test::analyseLines;

std::vector<std::string> withContents(const std::vector<std::string>& entries,
                                      const std::vector<std::string>& body = {})
{
    std::vector<std::string> lines = {"Request for Comments: 5", "", "Title", "", "Table of Contents", ""};
    lines.insert(lines.end(), entries.begin(), entries.end());
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

TEST(Contents, EntryNumbersTitlesAndPages)
{
    const auto result = analyseLines(withContents({
        "   1.  Introduction ............................................ 4", //  7
        "   1.1.  Purpose ............................................... 4", //  8
        "   2.  A Title That Runs Over",                                      //  9
        "       Two Lines ............................................... 5", // 10
        "   3.0 Zero Section ............................................ 6", // 11
        "   4.  Changes since RFC 2616",                                      // 12
        "   A.1 Appendix Part ........................................... 9", // 13
        "   B   - Dashed Entry .......................................... 12", // 14
        "   Appendix C.  Letters ........................................ 10", // 15
    }));
    ASSERT_TRUE(result.ok);
    using Entry = std::tuple<std::string, std::string, int32_t, int32_t, int32_t>;
    std::vector<Entry> entries;
    for (const ContentEntry& e : result.text.contents) {
        entries.emplace_back(e.number, e.title, e.page, e.firstLine, e.lastLine);
        EXPECT_FALSE(e.matched) << "no body heading follows";
    }
    EXPECT_EQ(entries, (std::vector<Entry>{
                           {"1", "Introduction", 4, 7, 7},
                           {"1.1", "Purpose", 4, 8, 8},
                           {"2", "A Title That Runs Over Two Lines", 5, 9, 10},
                           {"3", "Zero Section", 6, 11, 11},
                           // Without a page number the title's own number is taken as the page.
                           {"4", "Changes since RFC", 2616, 12, 12},
                           {"A.1", "Appendix Part", 9, 13, 13},
                           {"B", "Dashed Entry", 12, 14, 14},
                           {"", "Appendix C.  Letters", 10, 15, 15},
                       }));
    ASSERT_EQ(result.text.headings.size(), 1u);
    EXPECT_EQ(result.text.headings[0].title, "Table of Contents");
    EXPECT_EQ(result.text.headings[0].line, 5);
}

// An unpaginated RFC in the form published since RFC 8650: contents
// without page numbers, wrapped titles, an appendix, unnumbered sections,
// references over several paragraphs and labels on a line of their own.
TEST(Contents, WithoutPageNumbersAsTheUnpaginatedRfcsPrintThem)
{
    const auto result = test::analyseBytes(test::fixtureBytes("unpaginated.txt"));
    ASSERT_TRUE(result.ok);
    const RfcText& text = result.text;
    using Entry = std::tuple<std::string, std::string, int32_t, int32_t, int32_t>;
    std::vector<Entry> entries;
    for (const ContentEntry& e : text.contents) {
        entries.emplace_back(e.number, e.title, e.firstLine, e.lastLine, e.headingLine);
        EXPECT_TRUE(e.matched && e.page == 0) << e.title;
    }
    EXPECT_EQ(entries, (std::vector<Entry>{
        {"1", "Introduction", 23, 23, 39},
        {"1.1", "Requirements Language", 24, 24, 43}, // not its subsection 1.1.1 "Delayed Acknowledgments"
        {"2", "Updates to RFC 8138: Indicating the Way to Decompress with the New RPI Option Type", 25, 26, 49},
        {"2.1", "Wrapped Title That Goes On Beyond the Line and Names RFC 2119 at Its Start", 27, 28, 52},
        {"2.1.10", "Deeper Level", 29, 29, 55},
        {"10", "Security Considerations", 30, 30, 57},
        {"11", "References", 31, 31, 61},
        {"11.1", "Normative References", 32, 32, 63},
        {"11.2", "Informative References", 33, 33, 74},
        {"A", "Pseudocode", 34, 34, 94},
        {"A.1", "Sample Algorithm", 35, 35, 96},
        {"", "Acknowledgments", 36, 36, 98},
        {"", "Authors' Addresses", 37, 37, 102},
    }));

    // Label, RFC number named, contents section, first and last line.
    using Reference = std::tuple<std::string, int32_t, int32_t, int32_t, int32_t>;
    std::vector<Reference> references;
    for (const ReferenceEntry& r : text.references)
        references.emplace_back(r.label, r.rfc, r.section, r.firstLine, r.lastLine);
    EXPECT_EQ(references, (std::vector<Reference>{
        {"[RFC2119]", 2119, 7, 64, 68},
        {"[QUIC-TLS]", 9001, 7, 69, 72},
        {"[BCP13]", 4289, 8, 75, 78}, // its later paragraphs do not end the section
        {"[Err1912]", 2978, 8, 85, 87}, // "RFC Errata, ..., RFC 2978"
        {"[I-D.ietf-example-long-draft-name]", 0, 8, 88, 92},
    }));
    std::vector<std::pair<int32_t, int32_t>> citations;
    for (const CitationMark& c : text.citations)
        citations.emplace_back(c.line, c.reference);
    EXPECT_EQ(citations, (std::vector<std::pair<int32_t, int32_t>>{{18, 1}, {40, 0}, {58, 4}}));

    // A form feed anywhere, or one contents line ending in a page number,
    // keeps the paged parse, which reads these entries as one.
    for (const char* paged : {"", "   3.  Later ...... 7"}) {
        std::vector<std::string> lines = withContents({"   1.  Intro", "   2.  Changes since RFC 2616", paged});
        if (*paged == '\0')
            lines.push_back("\f");
        const auto classic = analyseLines(lines);
        ASSERT_FALSE(classic.text.contents.empty()) << paged;
        EXPECT_EQ(classic.text.contents[0].title, "Intro 2.  Changes since RFC") << paged;
    }
    const auto modern = analyseLines(withContents({"   1.  Intro", "   2.  Changes since RFC 2616"}));
    ASSERT_EQ(modern.text.contents.size(), 2u);
    EXPECT_EQ(modern.text.contents[1].title, "Changes since RFC 2616");
}

TEST(Contents, FailuresKeepWhatWasParsed)
{
    const std::vector<std::string> badLines = {
        "   3.   ",              // a number without text
        "   ................ 7", // nothing before the leader dots
        "   4. .............. 7",
    };
    for (const std::string& bad : badLines) {
        const auto result = analyseLines(withContents({"   1.  Intro ........ 2", "   2.  More ..... 3", bad,
                                                       "   5.  Never read .... 9"},
                                                      {"", "1.  Intro"}));
        EXPECT_FALSE(result.ok) << bad;
        ASSERT_EQ(result.text.contents.size(), 2u) << bad;
        EXPECT_EQ(result.text.contents[1].title, "More");
        EXPECT_FALSE(result.text.contents[0].matched) << "the body is not read after a failure";
        EXPECT_TRUE(result.text.linesBeforeHeader.empty()) << "nor are the page statistics computed";
    }
}

TEST(Contents, WhatEndsTheContents)
{
    // A number not followed by a blank ends the contents without failing.
    const auto oddNumber = analyseLines(withContents({"   1.  Intro ........ 2", "   2a) Odd .... 3",
                                                      "   3.  Later ........ 4"}));
    EXPECT_TRUE(oddNumber.ok);
    EXPECT_EQ(oddNumber.text.contents.size(), 1u);

    // A page header or footer inside the contents is passed over.
    const auto paged = analyseLines(withContents({"   1.  Intro ........ 2", "",
                                                  "Anybody      Informational      [Page 1]", "\f",
                                                  "RFC 5             Title           May 2000", "",
                                                  "   2.  More ......... 3"},
                                                 {"", "1.  Intro", "", "2.  More"}));
    ASSERT_TRUE(paged.ok);
    ASSERT_EQ(paged.text.contents.size(), 2u);
    EXPECT_EQ(paged.text.contents[1].headingLine, 17);
    EXPECT_EQ(paged.text.pageMarks.size(), 2u);

    // Only "Table of Contents" exactly at the left margin starts contents.
    for (const char* heading : {"TABLE OF CONTENTS", " Table of Contents"}) {
        AnalysisOptions headingsOnly;
        headingsOnly.buildStructureFromText = false;
        const auto none = analyseLines({"Request for Comments: 5", "", "Title", "", heading, "",
                                        "   1.  Intro ........ 2", "", "1.  Intro", "", "Last"},
                                       headingsOnly);
        EXPECT_TRUE(none.text.contents.empty()) << heading;
        EXPECT_EQ(none.text.headings.back().title, "Last") << "the whole file is read as headings";
    }
}

TEST(MatchHeading, TheThreeRules)
{
    RfcText text;
    const std::pair<const char*, const char*> entries[] = {
        {"1", "Introduction"}, {"1.1", "Purpose"}, {"2", "Protocol Overview"}, {"3", "Details"},
        {"", "Security Considerations"}, {"", "Index"}};
    for (const auto& [number, title] : entries) {
        text.contents.push_back(ContentEntry{});
        text.contents.back().number = number;
        text.contents.back().title = title;
    }
    struct Case {
        const char* heading;
        int32_t expected, found;
    };
    // In order: each match marks its entry, which is then not matched again.
    const Case cases[] = {
        {"1.  INTRODUCTION", 0, 0}, // a: number and title, without regard to case
        {"1.  Introduction", 0, -1},
        {"2.  Protocol Overview", 1, 2}, // a: any later entry
        {"1 Purpose", 1, -1},            // a number longer than the heading's
        {"Details of 3", 0, -1},         // must begin with the number
        {"", 0, -1},
        {"3.1 Something Else", 0, -1}, // b: subsection only of the expected entry
        {"3.x Something Else", 3, -1},
        {"3.1 Something Else", 3, 3},
        {"Security  Considerations", 0, -1}, // c: blanks ignored only for the expected entry
        {"Security  Considerations", 4, 4},
        {"Index", 5, 5},
    };
    int32_t line = 10;
    for (const Case& c : cases)
        EXPECT_EQ(matchHeading(text, c.heading, line += 10, c.expected), c.found) << c.heading;
    EXPECT_TRUE(text.contents[2].matched);
    EXPECT_EQ(text.contents[2].headingLine, 40);

    RfcText unnumbered;
    unnumbered.contents.push_back(ContentEntry{});
    unnumbered.contents[0].title = "Acknowledgements";
    EXPECT_EQ(matchHeading(unnumbered, "7.2.1 Anything", 5, 0), 0)
        << "an entry without number takes any numbered heading when expected";
}

TEST(BodyHeadings, SentenceLikeParagraphsAreNeverHeadings)
{
    const std::vector<std::string> entries = {"   1.  Introduction ...... 2", "   2.  Overview ....... 3"};
    for (const std::size_t length : {99u, 100u, 120u}) {
        std::string sentence = "2.  Overview of the thing";
        sentence.resize(length - 1, 'x');
        const auto result = analyseLines(withContents(entries, {"", "1.  Introduction", "", sentence + ".", ""}));
        ASSERT_EQ(result.text.contents.size(), 2u);
        EXPECT_EQ(result.text.contents[1].matched, length < 100) << length;
    }

    // A heading run together with its indented text is one paragraph.
    const auto joined = analyseLines(withContents(entries, {"", "1.  Introduction", "", "2.  Overview",
                                                            "   " + std::string(90, 'y') + ".", "", "Other"}));
    EXPECT_FALSE(joined.text.contents[1].matched);
}

TEST(StructureFromText, NumberedRangeKeepsItsUnnumberedParagraphs)
{
    RfcText text;
    const char* const titles[] = {"draft notes", "Abstract", "1. Introduction", "some lower case",
                                  "Unnumbered middle", "2) Second", "3.0 Third", "References",
                                  "Author's Address"};
    int32_t line = 10;
    for (const char* title : titles)
        text.headings.push_back(SectionHeading{line += 10, "", title});
    text.headings.push_back(SectionHeading{0, "", "No line"});

    EXPECT_TRUE(buildStructureFromText(text));
    EXPECT_TRUE(text.structureFromText);
    std::vector<std::pair<std::string, std::string>> built;
    for (const ContentEntry& entry : text.contents) {
        built.emplace_back(entry.number, entry.title);
        EXPECT_TRUE(entry.matched);
    }
    EXPECT_EQ(built, (std::vector<std::pair<std::string, std::string>>{
                         {"", "draft notes"}, {"", "Abstract"}, {"1", "Introduction"}, {"2", "Second"},
                         {"3", "Third"}, {"", "References"}, {"", "Author's Address"}}));
    EXPECT_EQ(text.contents[2].headingLine, 40);
    ASSERT_EQ(text.headings.size(), 3u) << "the headings not taken stay";
    EXPECT_EQ(text.headings[1].title, "Unnumbered middle");

    EXPECT_TRUE(buildStructureFromText(text));
    EXPECT_EQ(text.contents.size(), built.size()) << "existing contents are left alone";

    // In the analysis, only when the setting asks for it.
    const std::vector<std::string> lines = {"Request for Comments: 5", "", "Title", "", "Abstract", "",
                                            "   Text.", "", "1.  Start", "", "2.  End", ""};
    const RfcText fromText = analyseLines(lines).text;
    ASSERT_EQ(fromText.contents.size(), 3u);
    EXPECT_EQ(fromText.contents[1].headingLine, 9);
    AnalysisOptions off;
    off.buildStructureFromText = false;
    const RfcText plain = analyseLines(lines, off).text;
    EXPECT_TRUE(plain.contents.empty());
    EXPECT_EQ(plain.headings.size(), 3u);
}

TEST(Lookups, ContentEntryAndSectionForEveryHideState)
{
    RfcText text = analyseLines(test::nineties()).text;
    ASSERT_EQ(text.contents.size(), 3u);
    EXPECT_EQ(text.contents[1].headingLine, 31);
    EXPECT_EQ(text.headings[4].line, 35);
    for (int state = 0; state < 8; ++state) {
        text.hideHeaders = state & 1;
        text.hideFooters = state & 2;
        text.hideBlankLines = state & 4;
        for (int32_t i = 0; i < 3; ++i) {
            const ContentEntry& entry = text.contents[static_cast<std::size_t>(i)];
            int32_t found = -7;
            EXPECT_TRUE(findContentEntryAtLine(text, fileLineToDisplay(text, entry.lastLine), found));
            EXPECT_EQ(found, i) << "state " << state;
            EXPECT_TRUE(findSectionAtLine(text, fileLineToDisplay(text, entry.headingLine), found));
            EXPECT_EQ(found, i) << "state " << state;
        }
        int32_t found = -7;
        EXPECT_FALSE(findSectionAtLine(text, fileLineToDisplay(text, 24), found));
        EXPECT_EQ(found, -1);
        EXPECT_TRUE(findSectionAtLine(text, fileLineToDisplay(text, 33), found));
        EXPECT_EQ(found, 1);
    }
    int32_t found = 0;
    EXPECT_TRUE(findContentEntryAtLine(text, fileLineToDisplay(text, 22), found));
    EXPECT_EQ(found, 2) << "the first line of a two-line entry";

    RfcText index;
    index.isIndex = true;
    index.indexEntries = {RfcIndexEntry{1, 10, 12, "One"}, RfcIndexEntry{2, 14, 20, "Two"}};
    EXPECT_TRUE(findContentEntryAtLine(index, 12, found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(findContentEntryAtLine(index, 13, found));
    EXPECT_TRUE(findSectionAtLine(index, 500, found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(findSectionAtLine(index, 9, found));
}

} // namespace
} // namespace parchly
