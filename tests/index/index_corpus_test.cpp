// The reader and the entry parse over the real rfc-index.txt, checked
// against the file's own text as scanned here, line by line.
#include "index/index_entry.h"
#include "index/index_reader.h"

#include "index_test_support.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace parchly {
namespace {

// One entry as the file shows it: a paragraph at the left margin that
// starts with digits, after the second "RFC INDEX" heading.
struct ListedEntry {
    int number = 0;
    int firstLine = 0;
    int lastLine = 0;
    std::string paragraph; // its lines with white space runs made single spaces
};

std::string collapseWhiteSpace(const std::string& text)
{
    std::istringstream words(text);
    std::string word;
    std::string out;
    while (words >> word)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

std::vector<ListedEntry> listedEntries(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    const auto isBlank = [](const std::string& line) {
        return line.find_first_not_of(" \t\r") == std::string::npos;
    };
    std::vector<ListedEntry> entries;
    int headings = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].find("RFC INDEX") != std::string::npos)
            ++headings;
        if (headings < 2 || !std::isdigit(static_cast<unsigned char>(lines[k][0])))
            continue;
        ListedEntry entry;
        entry.number = std::stoi(lines[k]);
        entry.firstLine = static_cast<int>(k) + 1;
        std::string paragraph;
        while (k < lines.size() && !isBlank(lines[k]))
            paragraph += lines[k++] + " ";
        entry.lastLine = static_cast<int>(std::min(k + 1, lines.size()));
        entry.paragraph = collapseWhiteSpace(paragraph);
        entries.push_back(entry);
    }
    return entries;
}

class RealIndex : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::filesystem::path path = test::corpusFile("rfc-index.txt");
        if (path.empty())
            return;
        s_bytes = test::fileBytes(path.string());
        s_index = test::readIndexFrom(s_bytes);
        s_listed = listedEntries(s_bytes);
    }

    void SetUp() override
    {
        PARCHLY_REQUIRE_CORPUS_FILE(path, "rfc-index.txt");
        ASSERT_FALSE(s_bytes.empty());
    }

    static inline std::string s_bytes;
    static inline RfcText s_index;
    static inline std::vector<ListedEntry> s_listed;
};

TEST_F(RealIndex, EveryListedEntryIsReadOnceInOrderWithItsTitle)
{
    const std::vector<RfcIndexEntry>& entries = s_index.indexEntries;
    ASSERT_GT(s_listed.size(), 8000u);
    ASSERT_EQ(entries.size(), s_listed.size());
    // The title is what stands between the number and the first period
    // followed by a blank; checked on every 97th entry.
    const std::regex titlePattern(R"(^\d+ (.*?)\.( |$))");
    for (std::size_t k = 0; k < entries.size(); ++k) {
        SCOPED_TRACE("RFC " + std::to_string(s_listed[k].number));
        EXPECT_EQ(entries[k].number, s_listed[k].number);
        EXPECT_EQ(entries[k].firstLine, s_listed[k].firstLine);
        EXPECT_EQ(entries[k].lastLine, s_listed[k].lastLine);
        EXPECT_TRUE(k == 0 || entries[k].number > entries[k - 1].number);
        std::smatch match;
        if (k % 97 == 0) {
            ASSERT_TRUE(std::regex_search(s_listed[k].paragraph, match, titlePattern));
            EXPECT_EQ(match[1].str(), collapseWhiteSpace(entries[k].title));
        }
    }
    EXPECT_EQ(entries.front().title, "Host Software");
    const auto titleOf = [&](int number) {
        for (const RfcIndexEntry& entry : entries) {
            if (entry.number == number)
                return entry.title;
        }
        return std::string("(absent)");
    };
    EXPECT_EQ(titleOf(14), "Not Issued");
    EXPECT_EQ(titleOf(1149), "Standard for the transmission of IP datagrams on avian carriers");
    EXPECT_EQ(titleOf(2616), "Hypertext Transfer Protocol -- HTTP/1.1");
}

TEST_F(RealIndex, EveryEntryParsesWithOffsetsOnItsDigits)
{
    LineReader reader(s_bytes);
    const std::vector<std::string> lines = readIndexLines(reader);
    for (const RfcIndexEntry& entry : s_index.indexEntries) {
        SCOPED_TRACE("RFC " + std::to_string(entry.number));
        const std::string text = indexEntryText(lines, entry);
        IndexEntryFields fields;
        ASSERT_TRUE(parseIndexEntry(text, LimitsBlock(), fields));
        EXPECT_EQ(fields.number, entry.number);
        EXPECT_EQ(collapseWhiteSpace(fields.title), collapseWhiteSpace(entry.title));
        EXPECT_EQ(text.substr(fields.titleStart, fields.title.size()), fields.title);
        test::expectOffsetsOnDigits(text, fields);
        if (entry.number == 2616) {
            EXPECT_EQ(fields.format, "TXT, PS, PDF, HTML");
            EXPECT_EQ(fields.obsoletes.numbers, std::vector<int32_t>{2068});
            EXPECT_EQ(fields.obsoletedBy.numbers, (std::vector<int32_t>{7230, 7231, 7232, 7233, 7234, 7235}));
            EXPECT_TRUE(fields.updates.numbers.empty());
            EXPECT_EQ(fields.updatedBy.numbers, (std::vector<int32_t>{2817, 5785, 6266, 6585}));
            EXPECT_EQ(fields.status, "DRAFT STANDARD");
        }
    }
}

} // namespace
} // namespace parchly
