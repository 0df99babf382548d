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
    EXPECT_LE(text.blankAfterHeader.size(), pages);
    EXPECT_EQ(text.blankAfterHeader.size(), text.blankBeforeFooter.size());
    if (pages > 0) {
        EXPECT_EQ(text.pageEndsNoHeaders.size(), text.pageEnds.size());
    }
}

TEST(HostileInput, NullStreamLeavesTheRecordAlone)
{
    RfcText text;
    text.title = "kept";
    text.rfcNumber = 7;
    EXPECT_FALSE(analyseText(text, nullptr, LimitsBlock(), AnalysisOptions()));
    EXPECT_EQ(text.title, "kept");
    EXPECT_EQ(text.rfcNumber, 7);
}

TEST(HostileInput, EmptyFile)
{
    const auto result = analyseBytes("");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.text.pageEnds, (std::vector<int32_t>{-1}));
    EXPECT_TRUE(result.text.title.empty());
    EXPECT_TRUE(result.text.contents.empty());
    EXPECT_TRUE(result.text.headings.empty());
    EXPECT_EQ(result.text.lineCount, 0);
}

TEST(HostileInput, ReanalysisStartsFromAnEmptyRecord)
{
    RfcText text;
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

TEST(HostileInput, LongLinesArriveInPiecesThatCountAsLines)
{
    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    const std::string text = "Request for Comments: 5\n\nTitle\n\n" + std::string(2000, 'x')
        + "\n\nNext\n";
    const RfcText record = analyseBytes(text, headingsOnly).text;
    ASSERT_EQ(record.headings.size(), 2u);
    EXPECT_EQ(record.headings[0].line, 5);
    EXPECT_EQ(record.headings[0].title, std::string(2000, 'x'));
    EXPECT_EQ(record.headings[1].line, 8) << "the long line counts as two";

    const auto single = analyseBytes(std::string(100000, 'a'));
    EXPECT_TRUE(single.ok);
    EXPECT_EQ(single.text.lineCount, 98);
    EXPECT_TRUE(single.text.title.empty()) << "the whole file is front matter";
    expectConsistent(single.text);

    const auto spaces = analyseBytes(std::string(100000, ' ') + "\n");
    EXPECT_TRUE(spaces.ok);
    expectConsistent(spaces.text);
}

TEST(HostileInput, FormFeedsOnlyAndCarriageReturnLineEnds)
{
    const auto feeds = analyseBytes("\f\n\f\n\f\n");
    EXPECT_EQ(feeds.text.pageEnds, (std::vector<int32_t>{-1, 1, 2, 3}));
    expectConsistent(feeds.text);

    const auto glued = analyseBytes(std::string(5000, '\f'));
    EXPECT_TRUE(glued.ok);
    expectConsistent(glued.text);

    const auto crOnly = analyseBytes("Request for Comments: 5\r\rA Title\r\rAbstract\r\r   Text.\r");
    EXPECT_TRUE(crOnly.ok);
    EXPECT_EQ(crOnly.text.rfcNumber, 5);
    EXPECT_EQ(crOnly.text.lineCount, 1) << "without LF the file is a single line";
    expectConsistent(crOnly.text);
}

TEST(HostileInput, ContentsThatNeverEnd)
{
    std::string entries = "Request for Comments: 5\n\nTitle\n\nTable of Contents\n\n";
    std::string words = entries + "   1.  A title that never gets its page number\n";
    for (int i = 0; i < 50000; ++i) {
        entries += "   " + std::to_string(i) + ".  Entry ........ " + std::to_string(i) + "\n";
        words += "       and goes on\n";
    }
    const auto listed = analyseBytes(entries);
    EXPECT_TRUE(listed.ok);
    EXPECT_EQ(listed.text.contents.size(), 50000u);
    EXPECT_EQ(listed.text.lineCount, 50006);
    expectConsistent(listed.text);

    AnalysisOptions headingsOnly;
    headingsOnly.buildStructureFromText = false;
    const auto endless = analyseBytes(words, headingsOnly);
    EXPECT_TRUE(endless.ok);
    EXPECT_TRUE(endless.text.contents.empty()) << "an entry never completed is never stored";
    expectConsistent(endless.text);
}

TEST(HostileInput, RandomBinaryBytes)
{
    std::mt19937 random(20260612);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(20000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        const auto result = analyseBytes(bytes);
        expectConsistent(result.text);
    }
}

} // namespace
} // namespace parchly
