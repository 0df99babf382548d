// The analysis over the real RFCs of the corpus, checked against the files'
// own lines. Skips when the corpus is absent.
#include "analysis/references.h"
#include "analysis_support.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace parchly {
namespace {

struct CorpusRfc {
    std::string name;
    int32_t number = 0;
    std::string bytes;
};

std::vector<CorpusRfc> corpusRfcs()
{
    std::vector<CorpusRfc> rfcs;
    std::error_code error;
    const std::regex name("rfc([0-9]+)\\.txt");
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusFolder(), error)) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (!std::regex_match(file, match, name))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        rfcs.push_back({file, std::stoi(match[1].str()),
                        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    return rfcs;
}

// Every reference sits in a references section, in file order, at a line
// that shows its label; every citation shows the label it points at.
void expectConsistentReferences(const RfcText& text, const std::vector<std::string>& lines)
{
    int32_t previousLine = -1;
    for (const ReferenceEntry& reference : text.references) {
        ASSERT_GT(reference.firstLine, previousLine);
        ASSERT_LT(reference.lastLine, static_cast<int32_t>(lines.size()));
        const std::string& line = lines[static_cast<std::size_t>(reference.firstLine)];
        EXPECT_EQ(line.substr(line.find('['), reference.label.size()), reference.label);
        EXPECT_TRUE(isReferencesTitle(text.contents.at(static_cast<std::size_t>(reference.section)).title));
        previousLine = reference.firstLine;
    }
    for (const CitationMark& citation : text.citations) {
        const std::string& line = lines.at(static_cast<std::size_t>(citation.line));
        EXPECT_EQ(line.substr(static_cast<std::size_t>(citation.startColumn),
                              static_cast<std::size_t>(citation.endColumn - citation.startColumn)),
                  text.references.at(static_cast<std::size_t>(citation.reference)).label);
    }
}

bool isHeaderLike(const std::string& line)
{
    return line.compare(0, 4, "RFC ") == 0;
}

bool isFooterLike(const std::vector<std::string>& lines, int32_t number)
{
    const std::string& line = lines[static_cast<std::size_t>(number - 1)];
    const bool beforeFormFeed =
        static_cast<std::size_t>(number) < lines.size() && lines[static_cast<std::size_t>(number)][0] == '\f';
    return line.find("[Page ") != std::string::npos || line.find("[page ") != std::string::npos
        || beforeFormFeed;
}

TEST(Corpus, EveryRfcAgreesWithItsText)
{
    const std::vector<CorpusRfc> rfcs = corpusRfcs();
    if (rfcs.empty())
        GTEST_SKIP() << "no RFCs in the corpus";
    // Their pages are headed by the date and title alone ("RFC:  791",
    // "RFC: 793"), or their front matter is a single line of one space
    // (RFC 822, which has no number keyword the block reader knows).
    const std::set<std::string> unusual = {"rfc791.txt", "rfc793.txt", "rfc822.txt"};
    const std::regex rfcLabel(R"(\[RFC(\d+)\])");
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const auto result = test::analyseBytes(rfc.bytes);
        const RfcText& text = result.text;
        EXPECT_TRUE(result.ok);
        const std::vector<std::string> lines = test::readerLines(rfc.bytes);
        const auto formFeedLines = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find('\f') != std::string::npos;
        });
        EXPECT_EQ(static_cast<long>(text.pageEnds.size()), formFeedLines + 1);

        if (rfc.name != "rfc822.txt") {
            EXPECT_EQ(text.rfcNumber, rfc.number);
        }
        if (formFeedLines > 0 && unusual.count(rfc.name) == 0) {
            EXPECT_GT(text.year, 1960);
            EXPECT_FALSE(text.month.empty());
            EXPECT_FALSE(text.title.empty());
            // Most pages of a paginated RFC have both a header and a footer.
            EXPECT_GE(text.pageMarks.size(), 2 * static_cast<std::size_t>(text.pageCount) - 1);
            test::expectShownLinesRoundTrip(text);
        }
        for (const PageMark& mark : text.pageMarks) {
            ASSERT_GE(mark.line, 1);
            ASSERT_LE(mark.line, static_cast<int32_t>(lines.size()));
            const std::string& line = lines[static_cast<std::size_t>(mark.line - 1)];
            EXPECT_TRUE(mark.isHeader ? isHeaderLike(line) : isFooterLike(lines, mark.line))
                << "line " << mark.line << ": " << line;
        }

        expectConsistentReferences(text, lines);
        // An entry labelled with an RFC number names that RFC after its title
        // (RFC 2324 itself misprints one).
        int labelled = 0;
        int agreeing = 0;
        for (const ReferenceEntry& reference : text.references) {
            std::smatch number;
            if (std::regex_match(reference.label, number, rfcLabel) && !reference.title.empty()) {
                ++labelled;
                agreeing += reference.rfc == std::stoi(number[1].str());
            }
        }
        EXPECT_LE(labelled - agreeing, std::max(1, labelled / 10)) << agreeing << " of " << labelled;
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

// The printed contents entries of an unpaginated RFC, by their first lines:
// each line after the heading that opens with a section number ("1.",
// "A.1.", "Appendix B.") or stands at the least indentation of the block
// ("Acknowledgments"); the others carry the rest of a wrapped title.
std::vector<int32_t> printedEntryFirstLines(const std::vector<std::string>& lines)
{
    const std::regex numbered(R"(( +)((\d+|[A-Z])(\.\d+)*\.|Appendix [A-Z]\.) +\S.*\n)");
    const std::regex indented(R"(( +)\S.*\n)");
    std::size_t i = 0;
    while (i < lines.size() && lines[i].compare(0, 17, "Table of Contents") != 0)
        ++i;
    std::vector<std::pair<int32_t, std::smatch>> block;
    for (++i; i < lines.size() && (lines[i][0] == ' ' || lines[i] == "\n"); ++i) {
        std::smatch match;
        if (std::regex_match(lines[i], match, numbered) || std::regex_match(lines[i], match, indented))
            block.emplace_back(static_cast<int32_t>(i + 1), match);
    }
    std::size_t base = std::string::npos;
    for (const auto& [line, match] : block)
        base = std::min(base, static_cast<std::size_t>(match.length(1)));
    std::vector<int32_t> entries;
    for (const auto& [line, match] : block) {
        if (match.size() > 2 || static_cast<std::size_t>(match.length(1)) == base)
            entries.push_back(line);
    }
    return entries;
}

// The 0-based lines and labels of the entries printed in the references
// sections of an unpaginated RFC: from a heading that names references to
// the next heading at the left margin.
std::vector<std::pair<int32_t, std::string>> printedReferences(const std::vector<std::string>& lines)
{
    const std::regex heading(
        R"(((\d+|[A-Z])(\.\d+)*\.|Appendix [A-Z]\.)? *((Normative|Informative) +)?References *\n)");
    const std::regex label(R"( +(\[[^\]]+\]).*\n)");
    std::vector<std::pair<int32_t, std::string>> labels;
    bool inReferences = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        if (lines[i][0] != ' ' && lines[i] != "\n")
            inReferences = std::regex_match(lines[i], heading);
        else if (inReferences && std::regex_match(lines[i], match, label))
            labels.emplace_back(static_cast<int32_t>(i), match[1].str());
    }
    return labels;
}

TEST(Corpus, TablesOfContentsParsedAndMatched)
{
    const std::set<std::string> paged = {"rfc2616.txt", "rfc3261.txt", "rfc3986.txt", "rfc5246.txt",
                                         "rfc6749.txt", "rfc7230.txt", "rfc8446.txt"};
    int checked = 0;
    for (const CorpusRfc& rfc : corpusRfcs()) {
        const bool unpaginated = rfc.number >= 8650;
        if (!unpaginated && paged.count(rfc.name) == 0)
            continue;
        SCOPED_TRACE(rfc.name);
        ++checked;
        const auto result = test::analyseBytes(rfc.bytes);
        ASSERT_TRUE(result.ok);
        const RfcText& text = result.text;
        const std::vector<ContentEntry>& contents = text.contents;
        const std::vector<std::string> lines = test::readerLines(rfc.bytes);

        // Paged entries end on the line of their page number; unpaginated
        // ones are known by their first line.
        const std::vector<int32_t> printed =
            unpaginated ? printedEntryFirstLines(lines) : printedEntryLines(lines);
        std::vector<int32_t> parsed;
        for (const ContentEntry& e : contents)
            parsed.push_back(unpaginated ? e.firstLine : e.lastLine);
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(parsed, printed);

        const auto matched =
            std::count_if(contents.begin(), contents.end(), [](const ContentEntry& e) { return e.matched; });
        EXPECT_GE(matched * 100, static_cast<long>(contents.size()) * (unpaginated ? 100 : 95))
            << matched << " of " << contents.size() << " matched";
        for (std::size_t i = 1; i < contents.size(); ++i) {
            if (contents[i].matched && contents[i - 1].matched) {
                EXPECT_LT(contents[i - 1].headingLine, contents[i].headingLine) << contents[i].title;
            }
        }
        if (unpaginated) {
            std::vector<std::pair<int32_t, std::string>> found;
            for (const ReferenceEntry& reference : text.references)
                found.emplace_back(reference.firstLine, reference.label);
            EXPECT_EQ(found, printedReferences(lines));
            EXPECT_FALSE(text.citations.empty());
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "none of the RFCs with a table of contents is in the corpus";
}

} // namespace
} // namespace parchly
