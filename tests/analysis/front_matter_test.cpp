// The front-matter block (left-column keywords, authors, date) and the title.
#include "analysis_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

using test::analyseBytes;

RfcText frontMatterOf(const std::vector<std::string>& lines)
{
    return test::analyseLines(lines).text;
}

TEST(FrontMatter, TwoColumnBlockOfTheNineties)
{
    const RfcText text = frontMatterOf(test::nineties());
    EXPECT_EQ(text.rfcNumber, 2616);
    EXPECT_EQ(text.obsoletes, 2069) << "the last number of the list";
    EXPECT_EQ(text.updates, 0);
    EXPECT_EQ(text.category, "Standards Track");
    EXPECT_EQ(text.groupLine, "Network Working Group");
    ASSERT_EQ(text.authors.size(), 2u);
    EXPECT_EQ(text.authors[1].name, "J. Gettys");
    EXPECT_EQ(text.authors[1].organisation, "Compaq/W3C");
    EXPECT_EQ(text.year, 1999);
    EXPECT_EQ(text.month, "June");
    EXPECT_EQ(text.day, 0);
    EXPECT_EQ(text.titleLine, 8);
    EXPECT_EQ(text.title, "Hypertext Transfer Protocol -- HTTP/1.1");
}

TEST(FrontMatter, KeywordLinesAsSpelt)
{
    const std::pair<const char*, int32_t> numbers[] = {
        {"Request for Comments # 12", 12}, {"RFC-12", 12}, {"Requests for Commments: 12", 12},
        {"   Request for Comments: 12", 12},
        {"Network Working Group Request for Comments: 12", 0}, // the keyword must open the left column
        {"Request for Comment 12", 0}, {"RFC:  791", 791}, {"RFC: 793", 793},
        {"RFC # draft                 June 1999", 1999}, // the first number of the whole line
    };
    for (const auto& [line, number] : numbers)
        EXPECT_EQ(frontMatterOf({line, "", "Title"}).rfcNumber, number) << line;

    const RfcText draft = frontMatterOf({"Network Working Group     A. Alpha",
                                         "Request for Comments: draft   Org A", "", "T"});
    EXPECT_TRUE(draft.authors.empty()) << "a keyword line without a digit yields nothing else";

    const RfcText text = frontMatterOf({"Request for Comments: 3000", "Updates: 1000, 2000",
                                        "Supercedes RFC 822", "Category: Informational     ACME",
                                        "", "Title"});
    EXPECT_EQ(text.updates, 2000);
    EXPECT_EQ(text.obsoletes, 822);
    EXPECT_EQ(text.category, "Informational");

    const RfcText none = frontMatterOf({"Obsoletes: none                      June 1999",
                                        "Obsoletes: 1234 (if approved)", "", "Title"});
    EXPECT_EQ(none.obsoletes, 0);
    EXPECT_EQ(none.year, 0) << "the line is done when the column does not end in a digit";
}

TEST(FrontMatter, DatesInSeveralForms)
{
    struct Case {
        const char* line;
        int32_t year;
        const char* month;
        int32_t day;
    };
    const Case cases[] = {
        {"                     June 15, 1999", 1999, "June", 15},
        {"                      15 June 1999", 1999, "June", 15},
        {"                         Sept. l989", 1989, "Sept.", 0},
        // Digits just before the month are its day, even a left column's,
        // but only when they can be a day of the month.
        {"Updates: 28                  June 1999", 1999, "June", 28},
        {"Request for Comments: 2616   June 1999", 1999, "June", 0},
        {"                     June 32, 1999", 1999, "June", 0},
        {"         Smarch 1999", 0, "", 0},
        {"           Ju 1999", 0, "", 0},
        {"          June 1999  ", 0, "", 0},
        {"      1999", 0, "", 0},
    };
    for (const Case& c : cases) {
        const RfcText text = frontMatterOf({"Network Working Group", c.line, "", "Title"});
        EXPECT_EQ(text.year, c.year) << c.line;
        EXPECT_EQ(text.month, c.month) << c.line;
        EXPECT_EQ(text.day, c.day) << c.line;
    }
    EXPECT_EQ(frontMatterOf({"             May 2000", "             June 2001", "", "T"}).year, 2000)
        << "the first date of the block counts";
}

TEST(FrontMatter, AuthorsPairNameAndOrganisation)
{
    const RfcText text = frontMatterOf({"Network Working Group      A. Alpha",
                                        "Request for Comments: 9          Org A",
                                        "                                B. Beta",
                                        "                                  Org B",
                                        "                               C. Gamma",
                                        "", "Title"});
    ASSERT_EQ(text.authors.size(), 2u) << "a fifth entry without a partner is never stored";
    EXPECT_EQ(text.authors[1].name, "B. Beta");
    EXPECT_EQ(text.authors[1].organisation, "Org B");

    // A line of blanks is a block line of its own and shifts the pairing.
    const RfcText shifted = frontMatterOf({"Network Working Group      A. Alpha", "   \t ",
                                           "Request for Comments: 9     B. Beta",
                                           "                              Org B", "", "Title"});
    ASSERT_EQ(shifted.authors.size(), 1u);
    EXPECT_EQ(shifted.authors[0].name, "B. Beta");
    EXPECT_EQ(shifted.authors[0].organisation, "Org B");
}

TEST(FrontMatter, StreamAndSeriesLinesAreNoAuthors)
{
    for (const char* stream : {"Internet Engineering Task Force (IETF)", "Independent Submission",
                               "Internet Research Task Force (IRTF)", "Internet Architecture Board (IAB)",
                               "Editorial Stream", "NETWORK WORKING GROUP"}) {
        const RfcText text = frontMatterOf({std::string(stream) + "     A. Alpha",
                                            "Request for Comments: 9         Org A",
                                            "BCP: 14                       B. Beta",
                                            "FYI: 36                         Org B", "", "Title"});
        EXPECT_EQ(text.groupLine, stream);
        ASSERT_EQ(text.authors.size(), 2u) << stream;
        EXPECT_EQ(text.authors[0].name, "A. Alpha");
        EXPECT_EQ(text.authors[1].organisation, "Org B");
        EXPECT_EQ(text.bcpNumber * 100 + text.fyiNumber, 1436);
    }

    // Five-digit number, STD, ISSN, and an Obsoletes list wrapped over two
    // lines, whose last number on its keyword line is kept as written (none).
    const RfcText text = analyseBytes(test::fixtureBytes("unpaginated.txt")).text;
    EXPECT_EQ(text.rfcNumber, 10123);
    EXPECT_EQ(text.stdNumber, 99);
    EXPECT_EQ(text.obsoletesList, (std::vector<int32_t>{7001, 7002, 7003, 7004, 7005, 7006, 7007, 7008}));
    EXPECT_EQ(text.obsoletes, 0);
    EXPECT_EQ(text.updatesList, std::vector<int32_t>{6000});
    EXPECT_EQ(text.updates, 6000);
    std::vector<std::pair<std::string, std::string>> authors;
    for (const AuthorEntry& author : text.authors)
        authors.emplace_back(author.name, author.organisation);
    EXPECT_EQ(authors, (std::vector<std::pair<std::string, std::string>>{
                           {"A. Writer, Ed.", "Example Corp"}, {"B. Second", "Example Labs"},
                           {"C. Third", "Another Place"}}));
}

TEST(Title, JoinedOverLinesAfterLeadingEmptyLinesAndAByteOrderMark)
{
    const RfcText two = frontMatterOf({"", "", "Request for Comments: 5", "", "", "     A Title That Runs",
                                       "\t   Over Two Lines   ", "", "Abstract"});
    EXPECT_EQ(two.rfcNumber, 5);
    EXPECT_EQ(two.titleLine, 6);
    EXPECT_EQ(two.title, "A Title That Runs Over Two Lines");

    const RfcText marked = analyseBytes("\xEF\xBB\xBF\n\nInternet Engineering Task Force (IETF)   E. Voit\n"
                                        "Request for Comments: 8650                 Cisco\n"
                                        "                                  November 2019\n\n"
                                        "   Dynamic Subscription\n").text;
    EXPECT_EQ(marked.rfcNumber, 8650);
    EXPECT_EQ(marked.year, 2019);
    EXPECT_EQ(marked.title, "Dynamic Subscription");
    EXPECT_EQ(marked.titleLine, 7);

    EXPECT_EQ(analyseBytes("Request for Comments: 5\n\n   Last words").text.title, "Last words");
    const RfcText inFrontMatter = analyseBytes("Request for Comments: 5\nCategory: Informational\n").text;
    EXPECT_TRUE(inFrontMatter.title.empty());
    EXPECT_EQ(inFrontMatter.lineCount, 2);
}

} // namespace
} // namespace parchly
