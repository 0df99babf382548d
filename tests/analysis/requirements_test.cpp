// Requirement sentences: the fixture's sentences, the CSV fields, and every
// keyword of the corpus in exactly one listed sentence.
#include "analysis_support.h"
#include "corpus_rfcs.h"

#include "analysis/requirements_csv.h"
#include "analysis/section_anchors.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <map>
#include <set>

namespace parchly {
namespace {

TEST(Requirements, SentencesOfTheFixture)
{
    const auto result = test::analyseBytes(test::fixtureBytes("links/rfc9995.txt"));
    const RfcText& text = result.text;
    // Not listed: the keywords' defining paragraph, a title in the
    // references, MUST_NOT, MAYBE, Must and May.
    const std::string split =
        "A server SHOULD NOT answer, e.g. a proxy MAY forward it; a cache MUST NOT store it.";
    const std::string quoted = "It is NOT RECOMMENDED, and \"quoted, MAY\" is OPTIONAL.";
    const std::vector<std::vector<std::string>> expected = {
        {"MUST", "A client MUST send the request.", "2"},
        {"SHOULD NOT", split, "2"},
        {"MAY", split, "2"},
        {"MUST NOT", split, "2"}, // "MUST" and "NOT" over a page break
        {"NOT RECOMMENDED", quoted, "2"},
        {"MAY", quoted, "2"},
        {"OPTIONAL", quoted, "2"},
        {"REQUIRED", "Nothing here is REQUIRED.", "3"},
    };
    std::vector<std::vector<std::string>> found;
    for (const RequirementSentence& requirement : text.requirements) {
        found.push_back({requirement.keyword, requirement.sentence,
                         text.sectionAnchors.at(static_cast<std::size_t>(requirement.section)).number});
    }
    EXPECT_EQ(found, expected);
    ASSERT_EQ(text.requirements.size(), expected.size());
    const std::vector<std::string> lines = test::readerLines(test::fixtureBytes("links/rfc9995.txt"));
    const RequirementSentence& last = text.requirements.back();
    EXPECT_EQ(lines.at(static_cast<std::size_t>(last.line)).substr(static_cast<std::size_t>(last.column), 8),
              "REQUIRED");
    EXPECT_EQ(lines.at(static_cast<std::size_t>(last.sentenceLine))
                  .substr(static_cast<std::size_t>(last.sentenceColumn), 7),
              "Nothing");
}

TEST(Requirements, CsvFieldsAsRfc4180Quotes)
{
    const std::vector<std::pair<std::string, std::string>> table = {
        {"plain text", "plain text"},
        {"a, b", "\"a, b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
    };
    for (const auto& [value, field] : table)
        EXPECT_EQ(csvField(value), field);
}

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Every upper-case keyword word of every corpus RFC, outside the paragraph
// that defines the keywords and the references, is claimed by exactly one
// listed keyword; "NOT" only as part of one.
TEST(RequirementsCorpus, EveryKeywordInExactlyOneSentence)
{
    const std::vector<test::CorpusRfc> rfcs = test::corpusRfcs();
    if (rfcs.empty())
        GTEST_SKIP() << "no RFCs in the corpus";
    const std::set<std::string> keywordWords = {"MUST",        "REQUIRED", "SHALL",   "SHOULD",
                                                "RECOMMENDED", "MAY",      "OPTIONAL"};
    int occurrences = 0;
    int listed = 0;
    for (const test::CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const RfcText text = test::analyseBytes(rfc.bytes).text;
        const std::vector<std::string> lines = test::readerLines(rfc.bytes);
        std::set<int32_t> pageMarks;
        for (const PageMark& mark : text.pageMarks)
            pageMarks.insert(mark.line - 1);
        const auto ranges = referencesRanges(text);
        // The words of the text in order, and the paragraphs that define
        // the keywords, bounded by blank lines.
        struct Word {
            int32_t line;
            std::string text;
        };
        std::vector<Word> words;
        std::map<std::pair<int32_t, int32_t>, std::size_t> wordAt;
        std::set<int32_t> boilerplate;
        std::vector<int32_t> paragraph;
        std::string joined;
        for (int32_t index = 0; index <= static_cast<int32_t>(lines.size()); ++index) {
            const std::string line =
                index < static_cast<int32_t>(lines.size()) ? lines[static_cast<std::size_t>(index)] : "";
            if (pageMarks.count(index) != 0 || line.find('\f') != std::string::npos)
                continue;
            if (line.find_first_not_of(" \t\r\n") == std::string::npos) {
                if (joined.find("interpreted as described") != std::string::npos)
                    boilerplate.insert(paragraph.begin(), paragraph.end());
                paragraph.clear();
                joined.clear();
                continue;
            }
            paragraph.push_back(index);
            const std::size_t first = line.find_first_not_of(" \t");
            joined += line.substr(first, line.find_last_not_of(" \t\r\n") + 1 - first) + " ";
            for (std::size_t i = 0; i < line.size();) {
                std::size_t end = i;
                while (end < line.size() && isWordChar(line[end]))
                    ++end;
                if (end == i) {
                    ++i;
                    continue;
                }
                wordAt[{index, static_cast<int32_t>(i)}] = words.size();
                words.push_back({index, line.substr(i, end - i)});
                i = end;
            }
        }
        const auto outside = [&](int32_t line) {
            for (const auto& [first, end] : ranges) {
                if (line + 1 >= first && line + 1 < end)
                    return false;
            }
            return boilerplate.count(line) == 0;
        };
        std::vector<int> claims(words.size(), 0);
        for (const RequirementSentence& requirement : text.requirements) {
            const auto word = wordAt.find({requirement.line, requirement.column});
            ASSERT_NE(word, wordAt.end()) << "line " << requirement.line + 1;
            const std::string& keyword = requirement.keyword;
            const std::size_t space = keyword.find(' ');
            EXPECT_EQ(words[word->second].text, keyword.substr(0, space));
            EXPECT_NE(requirement.sentence.find(keyword.substr(0, space)), std::string::npos);
            EXPECT_TRUE(outside(requirement.line)) << "line " << requirement.line + 1;
            ++claims[word->second];
            if (space != std::string::npos) {
                EXPECT_EQ(words.at(word->second + 1).text, keyword.substr(space + 1));
                ++claims[word->second + 1];
            }
        }
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_LE(claims[i], 1) << "line " << words[i].line + 1;
            if (keywordWords.count(words[i].text) == 0 || !outside(words[i].line))
                continue;
            ++occurrences;
            listed += claims[i];
            EXPECT_EQ(claims[i], 1) << "line " << words[i].line + 1 << ": " << words[i].text;
        }
    }
    std::cout << "keywords: " << listed << " of " << occurrences << " in exactly one listed sentence\n";
}

} // namespace
} // namespace parchly
