// The front-matter block (left-column keywords, authors, date) and the title.
#include "analysis/line_date.h"
#include "analysis_support.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

using test::analyseBytes;
using test::analyseLines;

RfcText frontMatterOf(const std::vector<std::string>& lines)
{
    return analyseLines(lines).text;
}

TEST(FrontMatter, TwoColumnBlockOfTheNineties)
{
    const RfcText text = analyseLines(test::nineties()).text;
    EXPECT_EQ(text.rfcNumber, 2616);
    EXPECT_EQ(text.obsoletes, 2069) << "the last number of the list";
    EXPECT_EQ(text.updates, 0);
    EXPECT_EQ(text.category, "Standards Track");
    EXPECT_EQ(text.groupLine, "Network Working Group");
    ASSERT_EQ(text.authors.size(), 2u);
    EXPECT_EQ(text.authors[0].name, "R. Fielding");
    EXPECT_EQ(text.authors[0].organisation, "UC Irvine");
    EXPECT_EQ(text.authors[1].name, "J. Gettys");
    EXPECT_EQ(text.authors[1].organisation, "Compaq/W3C");
    EXPECT_EQ(text.year, 1999);
    EXPECT_EQ(text.month, "June");
    EXPECT_EQ(text.day, 0);
    EXPECT_EQ(text.titleLine, 8);
    EXPECT_EQ(text.title, "Hypertext Transfer Protocol -- HTTP/1.1");
}

TEST(FrontMatter, RfcNumberKeywordsAsSpelt)
{
    const char* const lines[] = {"Request for Comments: 12", "Request for Comments # 12",
                                 "RFC # 12", "RFC-12", "Request for Comment: 12",
                                 "Requests for Commments: 12", "   Request for Comments: 12"};
    for (const char* line : lines)
        EXPECT_EQ(frontMatterOf({line, "", "Title"}).rfcNumber, 12) << line;

    EXPECT_EQ(frontMatterOf({"Network Working Group Request for Comments: 12", "", "T"}).rfcNumber, 0)
        << "the keyword must open the left column";
    EXPECT_EQ(frontMatterOf({"Request for Comment 12", "", "T"}).rfcNumber, 0);
    EXPECT_EQ(frontMatterOf({"RFC: 791", "", "T"}).rfcNumber, 0);

    const RfcText draft = frontMatterOf({"Network Working Group     A. Alpha",
                                         "Request for Comments: draft   Org A", "", "T"});
    EXPECT_EQ(draft.rfcNumber, 0);
    EXPECT_TRUE(draft.authors.empty()) << "a keyword line without a digit yields nothing else";
    EXPECT_EQ(frontMatterOf({"RFC # draft                 June 1999", "", "T"}).rfcNumber, 1999)
        << "the number is the first one of the whole line";
}

TEST(FrontMatter, ObsoletesUpdatesSupercedesAndCategory)
{
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
        {"                          June 1999", 1999, "June", 0},
        {"                     June 15, 1999", 1999, "June", 15},
        {"                      15 June 1999", 1999, "June", 15},
        {"                         Sept. l989", 1989, "Sept.", 0},
        {"                     7 April 1969", 1969, "April", 7},
        // Digits just before the month are its day, even a left column's,
        // but only when they can be a day of the month.
        {"Updates: 28                  June 1999", 1999, "June", 28},
        {"Request for Comments: 2616   June 1999", 1999, "June", 0},
        {"                     June 32, 1999", 1999, "June", 0},
    };
    for (const Case& c : cases) {
        const RfcText text = frontMatterOf({"Network Working Group", c.line, "", "Title"});
        EXPECT_EQ(text.year, c.year) << c.line;
        EXPECT_EQ(text.month, c.month) << c.line;
        EXPECT_EQ(text.day, c.day) << c.line;
    }

    const char* const noDates[] = {"Request for Comments: 2616", "         Smarch 1999",
                                   "           Ju 1999", "         Junk 1999x", "          June 1999  ", "      1999"};
    for (const char* line : noDates) {
        const RfcText text = frontMatterOf({line, "", "Title"});
        EXPECT_EQ(text.year, 0) << line;
        EXPECT_TRUE(text.month.empty()) << line;
    }

    const RfcText first = frontMatterOf({"             May 2000", "             June 2001", "", "T"});
    EXPECT_EQ(first.year, 2000) << "the first date of the block counts";
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

TEST(FrontMatter, LeadingEmptyLinesAndByteOrderMark)
{
    const RfcText text = frontMatterOf({"", "", "Request for Comments: 77", "", "", "  Title"});
    EXPECT_EQ(text.rfcNumber, 77);
    EXPECT_EQ(text.titleLine, 6);

    const RfcText marked = analyseBytes("\xEF\xBB\xBF\n\nInternet Engineering Task Force (IETF)   E. Voit\n"
                                        "Request for Comments: 8650                 Cisco\n"
                                        "                                  November 2019\n\n"
                                        "   Dynamic Subscription\n")
                               .text;
    EXPECT_EQ(marked.rfcNumber, 8650);
    EXPECT_EQ(marked.year, 2019);
    EXPECT_EQ(marked.title, "Dynamic Subscription");
    EXPECT_EQ(marked.titleLine, 7);
}

TEST(Title, JoinedOverLinesAndEndingWithTheFile)
{
    const RfcText two = frontMatterOf({"Request for Comments: 5", "", "", "     A Title That Runs",
                                       "\t   Over Two Lines   ", "", "Abstract"});
    EXPECT_EQ(two.titleLine, 4);
    EXPECT_EQ(two.title, "A Title That Runs Over Two Lines");

    const RfcText atEnd = analyseBytes("Request for Comments: 5\n\n   Last words").text;
    EXPECT_EQ(atEnd.title, "Last words");

    const RfcText inFrontMatter = analyseBytes("Request for Comments: 5\nCategory: Informational\n").text;
    EXPECT_EQ(inFrontMatter.rfcNumber, 5);
    EXPECT_TRUE(inFrontMatter.title.empty());
    EXPECT_EQ(inFrontMatter.lineCount, 2);
}

} // namespace
} // namespace parchly
