// The reader and the entry parse over the real rfc-index.txt, checked
// against the file's own text as scanned here, line by line.
#include "index_test_support.h"
#include "support/corpus.h"

#include <cctype>
#include <regex>

namespace parchly {
namespace {

// One entry as the file shows it: a paragraph at the left margin that
// starts with digits, after the second "RFC INDEX" heading.
struct ListedEntry {
    int number, firstLine, lastLine;
    std::string paragraph; // its lines with white space runs made single spaces
};

std::string collapseWhiteSpace(const std::string& text)
{
    std::istringstream words(text);
    std::string out;
    for (std::string word; words >> word;)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

std::vector<ListedEntry> listedEntries(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    std::vector<ListedEntry> entries;
    int headings = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        headings += lines[k].find("RFC INDEX") != std::string::npos;
        if (headings < 2 || !std::isdigit(static_cast<unsigned char>(lines[k][0])))
            continue;
        ListedEntry entry{std::stoi(lines[k]), static_cast<int>(k) + 1, 0, {}};
        std::string paragraph;
        while (k < lines.size() && lines[k].find_first_not_of(" \t\r") != std::string::npos)
            paragraph += lines[k++] + " ";
        entry.lastLine = static_cast<int>(std::min(k + 1, lines.size()));
        entry.paragraph = collapseWhiteSpace(paragraph);
        entries.push_back(entry);
    }
    return entries;
}

TEST(RealIndex, EveryListedEntryIsReadOnceInOrderAndParsesWithOffsetsOnItsDigits)
{
    PARCHLY_REQUIRE_CORPUS_FILE(path, "rfc-index.txt");
    const std::string bytes = test::readFile(path.string());
    const RfcText index = test::readIndexFrom(bytes);
    const std::vector<RfcIndexEntry>& entries = index.indexEntries;
    const std::vector<ListedEntry> listed = listedEntries(bytes);
    ASSERT_GT(listed.size(), 8000u);
    ASSERT_EQ(entries.size(), listed.size());
    LineReader reader(bytes);
    const std::vector<std::string> lines = readIndexLines(reader);
    // The title is what stands between the number and the first period
    // followed by a blank; checked on every 97th entry.
    const std::regex titlePattern(R"(^\d+ (.*?)\.( |$))");
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const RfcIndexEntry& entry = entries[k];
        SCOPED_TRACE("RFC " + std::to_string(listed[k].number));
        EXPECT_EQ(entry.number, listed[k].number);
        EXPECT_EQ(entry.firstLine, listed[k].firstLine);
        EXPECT_EQ(entry.lastLine, listed[k].lastLine);
        std::smatch match;
        if (k % 97 == 0) {
            ASSERT_TRUE(std::regex_search(listed[k].paragraph, match, titlePattern));
            EXPECT_EQ(match[1].str(), collapseWhiteSpace(entry.title));
        }

        const std::string text = indexEntryText(lines, entry);
        IndexEntryFields fields;
        ASSERT_TRUE(parseIndexEntry(text, LimitsBlock(), fields));
        EXPECT_EQ(fields.number, entry.number);
        EXPECT_EQ(collapseWhiteSpace(fields.title), collapseWhiteSpace(entry.title));
        EXPECT_EQ(text.substr(fields.titleStart, fields.title.size()), fields.title);
        test::expectOffsetsOnDigits(text, fields);
    }
}

} // namespace
} // namespace parchly
