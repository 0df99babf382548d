// Every analysis gives the same record whatever the record held before and
// whatever line ends the file uses.
#include "analysis_support.h"
#include "record_equality.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace parchly {
namespace {

using test::analyseBytes;

std::string joinLines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text.append(line).push_back('\n');
    return text;
}

// A small RFC with a references section that its text cites.
std::string citing()
{
    return joinLines({
        "Network Working Group                                      A. Author",
        "Request for Comments: 9999                                    Example",
        "Category: Informational                                      May 2001",
        "",
        "                          A Citing Title",
        "",
        "Table of Contents",
        "",
        "   1.  Introduction ..................................................  1",
        "   2.  References ....................................................  1",
        "",
        "1.  Introduction",
        "",
        "   The key words follow [RFC2119].",
        "",
        "2.  References",
        "",
        "   [RFC2119]  Bradner, S., \"Key words\", BCP 14, RFC 2119, March 1997.",
    });
}

// A text whose first body line is the page header of the nineties RFC,
// which is no header here: this RFC has another number and no page break.
std::string carryingAnotherHeader()
{
    return joinLines({"Request for Comments: 5", "", "Other", "",
                      "RFC 2616                        HTTP/1.1                       June 1999"});
}

TEST(FreshRecord, ReanalysisIntoAUsedRecordEqualsAFreshAnalysis)
{
    AnalysisOptions withoutReferences;
    withoutReferences.disableReferenceAnalysis = true;
    const std::string nineties = test::goldenBytes("nineties.txt");
    struct Case {
        const char* what;
        std::string first;
        std::string second;
        AnalysisOptions secondOptions;
    };
    const Case cases[] = {
        {"a header learned from the first text", nineties, carryingAnotherHeader(), {}},
        {"the other order", carryingAnotherHeader(), nineties, {}},
        {"references turned off", citing(), citing(), withoutReferences},
        {"references, then none found", citing(), nineties, {}},
        {"no references, then some", nineties, citing(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RfcText reused;
        LineReader first(c.first);
        ASSERT_TRUE(analyseText(reused, &first, LimitsBlock(), AnalysisOptions()));
        LineReader second(c.second);
        ASSERT_TRUE(analyseText(reused, &second, LimitsBlock(), c.secondOptions));
        test::expectSameAnalysis(reused, analyseBytes(c.second, c.secondOptions).text);
    }
    // The cases above compare something: the texts do leave what a stale
    // record would keep.
    EXPECT_EQ(analyseBytes(citing()).text.citations.size(), 1u);
    EXPECT_FALSE(analyseBytes(nineties).text.headerLine.empty());
}

TEST(FreshRecord, ALongDigitRunIsHeldAtTheLargestValue)
{
    const std::string digits(40, '9');
    struct Case {
        const char* what;
        std::string text;
        int32_t (*field)(const RfcText&);
        int32_t expected;
    };
    const Case cases[] = {
        {"RFC number", "Request for Comments: " + digits + "\n\nTitle\n",
         [](const RfcText& t) { return t.rfcNumber; }, INT32_MAX},
        {"obsoleted RFC", "Request for Comments: 5\nObsoletes: " + digits + "\n\nTitle\n",
         [](const RfcText& t) { return t.obsoletes; }, INT32_MAX},
        {"year", "Request for Comments: 5                 June " + digits + "\n\nTitle\n",
         [](const RfcText& t) { return t.year; }, INT32_MAX},
        {"contents page",
         "Request for Comments: 5\n\nTitle\n\nTable of Contents\n\n   1.  Intro ..... " + digits + "\n\f\n",
         [](const RfcText& t) { return t.contents.empty() ? -1 : t.contents[0].page; }, INT32_MAX},
        // Too large to be an RFC: the reference names none.
        {"RFC named by a reference",
         "Request for Comments: 5\n\nTitle\n\nTable of Contents\n\n   1.  References .... 1\n\f\n"
         "1.  References\n\n   [X]  \"T\", RFC "
             + digits + ".\n",
         [](const RfcText& t) { return t.references.empty() ? -1 : t.references[0].rfc; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = analyseBytes(c.text);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(c.field(result.text), c.expected);
    }
}

// Every RFC of the corpus, its LF line ends turned into CR LF, gives the
// record it gives as it is: the line ends are turned back where the text
// is read, the same 1,023-byte pieces included.
TEST(FreshRecord, CrLfLineEndsGiveTheRecordOfLfLineEnds)
{
    std::error_code error;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, 3, "rfc") != 0 || name == "rfc-index.txt")
            continue;
        SCOPED_TRACE(name);
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string crLf;
        crLf.reserve(bytes.size() + bytes.size() / 16);
        for (char c : bytes) {
            if (c == '\n')
                crLf += '\r';
            crLf += c;
        }
        const auto lf = analyseBytes(bytes);
        const auto converted = analyseBytes(crLf);
        EXPECT_EQ(lf.ok, converted.ok);
        test::expectSameAnalysis(lf.text, converted.text);
        ++compared;
    }
    if (compared == 0)
        GTEST_SKIP() << "no RFCs in the corpus";
}

} // namespace
} // namespace parchly
