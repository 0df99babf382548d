// Inputs no RFC has: the analysis must finish on them with a consistent
// record, never crash or hang.
#include "analysis_support.h"

#include <gtest/gtest.h>

#include <random>

namespace parchly {
namespace {

using test::analyseBytes;

// What every record must satisfy, whatever the text.
void expectConsistent(const RfcText& text)
{
    ASSERT_FALSE(text.pageEnds.empty());
    EXPECT_EQ(text.pageEnds[0], -1);
    EXPECT_EQ(static_cast<int32_t>(text.pageEnds.size()), text.pageCount + 1);
    for (std::size_t i = 1; i < text.pageMarks.size(); ++i)
        EXPECT_LE(text.pageMarks[i - 1].line, text.pageMarks[i].line);
    const std::size_t pages = text.pageEnds.size() - 1;
    EXPECT_EQ(text.linesBeforeHeader.size(), pages);
    EXPECT_EQ(text.linesFromFooter.size(), pages);
    EXPECT_EQ(text.blankAfterHeader.size(), text.blankBeforeFooter.size());
    if (pages > 0) {
        EXPECT_EQ(text.pageEndsNoHeaders.size(), text.pageEnds.size());
    }
}

std::string randomBytes(std::mt19937& random, std::size_t size)
{
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() % 256);
    return bytes;
}

TEST(HostileInput, AnalysisFinishesWithAConsistentRecord)
{
    std::string endlessContents = "Request for Comments: 5\n\nTitle\n\nTable of Contents\n\n";
    std::string endlessEntry = endlessContents + "   1.  A title that never gets its page number\n";
    std::string endlessFrontMatter;
    for (int i = 0; i < 50000; ++i) {
        endlessContents += "   " + std::to_string(i) + ".  Entry ........ " + std::to_string(i) + "\n";
        endlessEntry += "       and goes on\n";
        endlessFrontMatter += "Request for Comments: " + std::to_string(i) + "   Author\n";
    }
    endlessEntry += "\f"; // paginated: the entry waits for its page number
    std::mt19937 random(20260612);
    struct Case {
        const char* what;
        std::string bytes;
        int32_t lineCount; // -1: not checked
    };
    const Case cases[] = {
        {"empty file", "", 0},
        {"one 100,000-byte line", std::string(100000, 'a'), 98},
        {"a line of blanks", std::string(100000, ' ') + "\n", 98},
        {"NUL bytes", std::string(5000, '\0') + "\n" + std::string(3000, '\0'), 8},
        {"all form feeds, one a line", "\f\n\f\n\f\n", 3},
        {"all form feeds, one line", std::string(5000, '\f'), 5},
        {"CR line ends", "Request for Comments: 5\r\rA Title\r\rAbstract\r\r   Text.\r", 1},
        {"front matter that never ends", endlessFrontMatter, 50000},
        {"contents that never end", endlessContents, 50006},
        {"a contents entry that never ends", endlessEntry, 50008},
        {"random bytes", randomBytes(random, 20000), -1},
        {"more random bytes", randomBytes(random, 20000), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = analyseBytes(c.bytes);
        if (c.lineCount >= 0) {
            EXPECT_TRUE(result.ok);
            EXPECT_EQ(result.text.lineCount, c.lineCount);
        }
        expectConsistent(result.text);
    }

    EXPECT_EQ(analyseBytes("\f\n\f\n\f\n").text.pageEnds, (std::vector<int32_t>{-1, 1, 2, 3}));
    EXPECT_EQ(analyseBytes(endlessContents).text.contents.size(), 50000u);
    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    EXPECT_TRUE(analyseBytes(endlessEntry, headingsOnly).text.contents.empty())
        << "an entry never completed is never stored";
}

TEST(HostileInput, LongLinesArriveInPiecesThatCountAsLines)
{
    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    const std::string text = "Request for Comments: 5\n\nTitle\n\n" + std::string(2000, 'x') + "\n\nNext\n";
    const RfcText record = analyseBytes(text, headingsOnly).text;
    ASSERT_EQ(record.headings.size(), 2u);
    EXPECT_EQ(record.headings[0].line, 5);
    EXPECT_EQ(record.headings[0].title, std::string(2000, 'x'));
    EXPECT_EQ(record.headings[1].line, 8) << "the long line counts as two";
}

TEST(HostileInput, NullStreamLeavesTheRecordAloneAndReanalysisStartsAfresh)
{
    RfcText text;
    text.title = "kept";
    EXPECT_FALSE(analyseText(text, nullptr, LimitsBlock(), AnalysisOptions()));
    EXPECT_EQ(text.title, "kept");

    LineReader first(test::joinLines(test::nineties()));
    ASSERT_TRUE(analyseText(text, &first, LimitsBlock(), AnalysisOptions()));
    LineReader second("Request for Comments: 5\n\nOther\n");
    ASSERT_TRUE(analyseText(text, &second, LimitsBlock(), AnalysisOptions()));
    EXPECT_EQ(text.rfcNumber, 5);
    EXPECT_EQ(text.pageEnds, (std::vector<int32_t>{-1}));
    EXPECT_TRUE(text.contents.empty());
    EXPECT_TRUE(text.pageMarks.empty());
    EXPECT_TRUE(text.authors.empty());
}

} // namespace
} // namespace parchly
