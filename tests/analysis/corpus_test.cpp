// The analysis over the real RFCs of the corpus, checked against the files'
// own lines. Skips when the corpus is absent.
#include "analysis_support.h"
#include "references_support.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace parchly {
namespace {

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct CorpusRfc {
    std::string name;
    int32_t number = 0;
    std::string bytes;
};

// The corpus RFCs that are paginated with form feeds.
std::vector<CorpusRfc> paginatedRfcs()
{
    std::vector<CorpusRfc> rfcs;
    const std::filesystem::path folder = test::corpusFolder();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return rfcs;
    const std::regex name("rfc([0-9]+)\\.txt");
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (!std::regex_match(file, match, name))
            continue;
        CorpusRfc rfc{file, std::stoi(match[1].str()), fileBytes(entry.path())};
        if (rfc.bytes.find('\f') != std::string::npos)
            rfcs.push_back(std::move(rfc));
    }
    std::sort(rfcs.begin(), rfcs.end(), [](const CorpusRfc& a, const CorpusRfc& b) { return a.number < b.number; });
    return rfcs;
}

bool isHeaderLike(const std::string& line)
{
    return line.compare(0, 4, "RFC ") == 0;
}

bool isFooterLike(const std::vector<std::string>& lines, int32_t number)
{
    const std::string& line = lines[static_cast<std::size_t>(number - 1)];
    const bool beforeFormFeed = static_cast<std::size_t>(number) < lines.size()
        && lines[static_cast<std::size_t>(number)][0] == '\f';
    return line.find("[Page ") != std::string::npos || line.find("[page ") != std::string::npos
        || beforeFormFeed;
}

TEST(Corpus, PaginatedRfcsNumbersPageMarksAndPageCounts)
{
    const std::vector<CorpusRfc> rfcs = paginatedRfcs();
    if (rfcs.empty())
        GTEST_SKIP() << "no paginated RFCs in the corpus";
    // Their front matter carries no number keyword the block reader knows:
    // "RFC:  791", or a block that is a single line of one space.
    const std::vector<std::string> withoutNumberKeyword = {"rfc791.txt", "rfc793.txt", "rfc822.txt"};
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const auto result = test::analyseBytes(rfc.bytes);
        const RfcText& text = result.text;
        EXPECT_TRUE(result.ok);
        if (std::find(withoutNumberKeyword.begin(), withoutNumberKeyword.end(), rfc.name)
            == withoutNumberKeyword.end()) {
            EXPECT_EQ(text.rfcNumber, rfc.number);
        }
        EXPECT_EQ(text.pageCount, std::count(rfc.bytes.begin(), rfc.bytes.end(), '\f'));

        const std::vector<std::string> lines = test::readerLines(rfc.bytes);
        for (const PageMark& mark : text.pageMarks) {
            ASSERT_GE(mark.line, 1);
            ASSERT_LE(mark.line, static_cast<int32_t>(lines.size()));
            const std::string& line = lines[static_cast<std::size_t>(mark.line - 1)];
            if (mark.isHeader) {
                EXPECT_TRUE(isHeaderLike(line)) << "line " << mark.line << ": " << line;
            } else {
                EXPECT_TRUE(isFooterLike(lines, mark.line)) << "line " << mark.line << ": " << line;
            }
        }
        // Most pages of a paginated RFC have both a header and a footer.
        if (text.rfcNumber != 0) {
            EXPECT_GE(text.pageMarks.size(), 2 * static_cast<std::size_t>(text.pageCount) - 1);
        }
    }
}

// The line numbers of the printed contents entries that carry a page
// number: the lines after the "Table of Contents" heading at the left
// margin, up to the first unindented line that is not a page header,
// footer or form feed.
std::vector<int32_t> printedEntryLines(const std::vector<std::string>& lines)
{
    std::vector<int32_t> entries;
    std::size_t i = 0;
    while (i < lines.size() && lines[i].compare(0, 17, "Table of Contents") != 0)
        ++i;
    for (++i; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t end = line.find_last_not_of("\r\n");
        if (end == std::string::npos)
            continue;
        if (line[0] != ' ' && line[0] != '\t') {
            if (line[0] == '\f' || isHeaderLike(line) || line.find("[Page ") != std::string::npos)
                continue;
            break;
        }
        if (line[end] >= '0' && line[end] <= '9')
            entries.push_back(static_cast<int32_t>(i + 1));
    }
    return entries;
}

TEST(Corpus, TablesOfContentsParsedAndMatched)
{
    const char* const names[] = {"rfc2616.txt", "rfc3261.txt", "rfc3986.txt", "rfc5246.txt",
                                 "rfc6749.txt", "rfc7230.txt", "rfc8446.txt"};
    int checked = 0;
    for (const char* name : names) {
        const std::filesystem::path path = test::corpusFile(name);
        if (path.empty())
            continue;
        SCOPED_TRACE(name);
        ++checked;
        const std::string bytes = fileBytes(path);
        const auto result = test::analyseBytes(bytes);
        ASSERT_TRUE(result.ok);
        const std::vector<ContentEntry>& contents = result.text.contents;

        const std::vector<int32_t> printed = printedEntryLines(test::readerLines(bytes));
        ASSERT_FALSE(printed.empty());
        for (const int32_t line : printed) {
            const bool parsed = std::any_of(contents.begin(), contents.end(),
                                            [&](const ContentEntry& e) { return e.lastLine == line; });
            EXPECT_TRUE(parsed) << "printed entry at line " << line;
        }
        EXPECT_EQ(contents.size(), printed.size());

        const auto matched = std::count_if(contents.begin(), contents.end(),
                                           [](const ContentEntry& e) { return e.matched; });
        EXPECT_GE(matched * 100, static_cast<long>(contents.size()) * 95)
            << matched << " of " << contents.size() << " matched";
        for (std::size_t i = 1; i < contents.size(); ++i) {
            if (contents[i].matched && contents[i - 1].matched) {
                EXPECT_LT(contents[i - 1].headingLine, contents[i].headingLine) << contents[i].title;
            }
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "none of the RFCs with a table of contents is in the corpus";
}

} // namespace
} // namespace parchly
