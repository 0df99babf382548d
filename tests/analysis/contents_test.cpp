// The table of contents, the headings before it and in the body, the
// structure built from the text, and the line lookups.
#include "analysis/headings.h"
#include "analysis/line_mapping.h"
#include "analysis/section_lookup.h"
#include "analysis/structure_from_text.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

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

void expectEntry(const ContentEntry& entry, const char* number, const char* title, int32_t page,
                 int32_t firstLine, int32_t lastLine)
{
    EXPECT_EQ(entry.number, number) << title;
    EXPECT_EQ(entry.title, title);
    EXPECT_EQ(entry.page, page) << title;
    EXPECT_EQ(entry.firstLine, firstLine) << title;
    EXPECT_EQ(entry.lastLine, lastLine) << title;
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
        "   Full Copyright Statement .................................... 11", // 16
    }));
    ASSERT_TRUE(result.ok);
    const std::vector<ContentEntry>& contents = result.text.contents;
    ASSERT_EQ(contents.size(), 9u);
    expectEntry(contents[0], "1", "Introduction", 4, 7, 7);
    expectEntry(contents[1], "1.1", "Purpose", 4, 8, 8);
    expectEntry(contents[2], "2", "A Title That Runs Over Two Lines", 5, 9, 10);
    expectEntry(contents[3], "3", "Zero Section", 6, 11, 11);
    // Without a page number the title's own number is taken as the page.
    expectEntry(contents[4], "4", "Changes since RFC", 2616, 12, 12);
    expectEntry(contents[5], "A.1", "Appendix Part", 9, 13, 13);
    expectEntry(contents[6], "B", "Dashed Entry", 12, 14, 14);
    expectEntry(contents[7], "", "Appendix C.  Letters", 10, 15, 15);
    expectEntry(contents[8], "", "Full Copyright Statement", 11, 16, 16);
    for (const ContentEntry& entry : contents)
        EXPECT_FALSE(entry.matched) << "no body heading follows";
    ASSERT_EQ(result.text.headings.size(), 1u);
    EXPECT_EQ(result.text.headings[0].title, "Table of Contents");
    EXPECT_EQ(result.text.headings[0].line, 5);
}

TEST(Contents, FailuresKeepWhatWasParsed)
{
    const std::vector<std::string> badLines = {
        "   3.   ",                 // a number without text
        "   ................ 7",    // nothing before the leader dots
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
    const auto paged = analyseLines({"Request for Comments: 5", "", "Title", "", "Table of Contents", "",
                                     "   1.  Intro ........ 2", "", "Anybody      Informational      [Page 1]",
                                     "\f", "RFC 5             Title           May 2000", "",
                                     "   2.  More ......... 3", "", "1.  Intro", "", "2.  More"});
    ASSERT_TRUE(paged.ok);
    ASSERT_EQ(paged.text.contents.size(), 2u);
    EXPECT_TRUE(paged.text.contents[1].matched);
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
        EXPECT_EQ(none.text.lineCount, 11);
    }
}

RfcText entriesToMatch()
{
    RfcText text;
    const char* const numbers[] = {"1", "1.1", "2", "3", "", ""};
    const char* const titles[] = {"Introduction", "Purpose", "Protocol Overview", "Details",
                                  "Security Considerations", "Index"};
    for (int i = 0; i < 6; ++i) {
        ContentEntry entry;
        entry.number = numbers[i];
        entry.title = titles[i];
        text.contents.push_back(entry);
    }
    return text;
}

TEST(MatchHeading, TitleAnywhereForAnyLaterEntry)
{
    RfcText text = entriesToMatch();
    EXPECT_EQ(matchHeading(text, "1.  INTRODUCTION", 40, 0), 0) << "without regard to case";
    EXPECT_TRUE(text.contents[0].matched);
    EXPECT_EQ(text.contents[0].headingLine, 40);
    EXPECT_EQ(matchHeading(text, "1.  Introduction", 50, 0), -1) << "a matched entry is not matched again";
    EXPECT_EQ(matchHeading(text, "2.  Protocol Overview", 60, 1), 2) << "the expected entry may be skipped";
    EXPECT_EQ(matchHeading(text, "1 Purpose", 70, 1), -1) << "a number longer than the heading's is no match";
    EXPECT_EQ(matchHeading(text, "", 80, 0), -1);
    EXPECT_EQ(matchHeading(text, "Details of 3", 90, 0), -1) << "the heading must begin with the number";
}

TEST(MatchHeading, SubsectionNumberAndSpacingOnlyForTheExpectedEntry)
{
    RfcText text = entriesToMatch();
    EXPECT_EQ(matchHeading(text, "3.1 Something Else", 10, 0), -1) << "rule b needs the expected entry";
    EXPECT_EQ(matchHeading(text, "3.1 Something Else", 10, 3), 3);
    EXPECT_EQ(matchHeading(text, "3.x Something Else", 10, 3), -1);

    EXPECT_EQ(matchHeading(text, "Security  Considerations", 20, 0), -1);
    EXPECT_EQ(matchHeading(text, "Security  Considerations", 20, 4), 4) << "equal when blanks are ignored";
    EXPECT_EQ(matchHeading(text, "Index", 30, 5), 5) << "short headings match by their title";

    RfcText unnumbered;
    unnumbered.contents.push_back(ContentEntry{});
    unnumbered.contents[0].title = "Acknowledgements";
    EXPECT_EQ(matchHeading(unnumbered, "7.2.1 Anything", 5, 0), 0)
        << "an entry without number takes any numbered heading when expected";
}

std::string sentence(std::size_t length)
{
    std::string text = "2.  Overview of the thing";
    while (text.size() + 1 < length)
        text += 'x';
    return text + ".";
}

TEST(BodyHeadings, SentenceLikeParagraphsAreNeverHeadings)
{
    for (const std::size_t length : {99u, 100u, 120u}) {
        const auto result = analyseLines(withContents({"   1.  Introduction ...... 2", "   2.  Overview ....... 3"},
                                                      {"", "1.  Introduction", "", sentence(length), ""}));
        ASSERT_TRUE(result.ok);
        ASSERT_EQ(result.text.contents.size(), 2u);
        EXPECT_EQ(result.text.contents[1].matched, length < 100) << length;
    }

    // A heading run together with its indented text is one paragraph.
    const std::string heading = "2.  Overview";
    const auto joined = analyseLines(withContents({"   1.  Introduction ...... 2", "   2.  Overview ....... 3"},
                                                  {"", "1.  Introduction", "", heading,
                                                   "   " + std::string(90, 'y') + ".", "", "Other"}));
    EXPECT_FALSE(joined.text.contents[1].matched);
}

TEST(BodyHeadings, RecordedWithTheirLinesInFileOrder)
{
    const RfcText text = analyseLines(test::nineties()).text;
    ASSERT_EQ(text.contents.size(), 3u);
    EXPECT_EQ(text.contents[0].headingLine, 25);
    EXPECT_EQ(text.contents[1].headingLine, 31);
    EXPECT_EQ(text.contents[2].headingLine, 35);
    ASSERT_EQ(text.headings.size(), 5u);
    EXPECT_EQ(text.headings[0].title, "Abstract");
    EXPECT_EQ(text.headings[1].title, "Table of Contents");
    EXPECT_EQ(text.headings[4].title, "2.  Protocol Overview and a title that goes on to the next line");
    EXPECT_EQ(text.headings[4].line, 35);
    EXPECT_EQ(text.lineCount, 40);
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
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"", "draft notes"}, {"", "Abstract"}, {"1", "Introduction"}, {"2", "Second"},
        {"3", "Third"},      {"", "References"}, {"", "Author's Address"}};
    ASSERT_EQ(text.contents.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(text.contents[i].number, expected[i].first) << i;
        EXPECT_EQ(text.contents[i].title, expected[i].second) << i;
        EXPECT_TRUE(text.contents[i].matched);
        EXPECT_EQ(text.contents[i].page, 0);
        EXPECT_EQ(text.contents[i].firstLine, 0);
    }
    EXPECT_EQ(text.contents[2].headingLine, 40);
    ASSERT_EQ(text.headings.size(), 3u);
    EXPECT_EQ(text.headings[0].title, "some lower case");
    EXPECT_EQ(text.headings[1].title, "Unnumbered middle");
    EXPECT_EQ(text.headings[2].title, "No line");

    const size_t before = text.contents.size();
    EXPECT_TRUE(buildStructureFromText(text));
    EXPECT_EQ(text.contents.size(), before) << "existing contents are left alone";
}

TEST(StructureFromText, OnlyWhenTheSettingAsksForIt)
{
    const std::vector<std::string> lines = {"Request for Comments: 5", "", "Title", "", "Abstract", "",
                                            "   Text.", "", "1.  Start", "", "2.  End", ""};
    const RfcText built = analyseLines(lines).text;
    ASSERT_EQ(built.contents.size(), 3u);
    EXPECT_EQ(built.contents[1].number, "1");
    EXPECT_EQ(built.contents[1].title, "Start");
    EXPECT_EQ(built.contents[1].headingLine, 9);

    AnalysisOptions off;
    off.buildStructureFromText = false;
    const RfcText plain = analyseLines(lines, off).text;
    EXPECT_TRUE(plain.contents.empty());
    EXPECT_FALSE(plain.structureFromText);
    EXPECT_EQ(plain.headings.size(), 3u);
}

TEST(Lookups, ContentEntryAndSectionForEveryHideState)
{
    RfcText text = analyseLines(test::nineties()).text;
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
        EXPECT_FALSE(findContentEntryAtLine(text, fileLineToDisplay(text, 24), found));
        EXPECT_EQ(found, -1);
        EXPECT_FALSE(findSectionAtLine(text, fileLineToDisplay(text, 24), found));
        EXPECT_EQ(found, -1);
        EXPECT_TRUE(findSectionAtLine(text, fileLineToDisplay(text, 33), found));
        EXPECT_EQ(found, 1);
    }
    int32_t found = 0;
    EXPECT_TRUE(findContentEntryAtLine(text, fileLineToDisplay(text, 22), found));
    EXPECT_EQ(found, 2) << "the first line of a two-line entry";
}

TEST(Lookups, IndexEntriesUseTheirFileLines)
{
    RfcText index;
    index.isIndex = true;
    index.indexEntries = {RfcIndexEntry{1, 10, 12, "One"}, RfcIndexEntry{2, 14, 20, "Two"}};
    int32_t found = 0;
    EXPECT_TRUE(findContentEntryAtLine(index, 12, found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(findContentEntryAtLine(index, 13, found));
    EXPECT_TRUE(findSectionAtLine(index, 13, found));
    EXPECT_EQ(found, 0);
    EXPECT_TRUE(findSectionAtLine(index, 500, found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(findSectionAtLine(index, 9, found));
}

} // namespace
} // namespace parchly
