// RFCs whose shapes the analysis once read wrongly: references under
// headings the contents name differently or not at all, labels at the
// margin ("[INTRO:1]"), a damaged contents line, contents printed at the
// margin, headers without a blank in "RFC1122". Each is checked against its
// own printed text. They are read from PARCHLY_CORPUS_HARD, or from
// ../shared/corpus-hard beside the source tree; absent files are skipped.
#include "analysis_support.h"
#include "printed_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace parchly {
namespace {

std::filesystem::path hardCorpusFolder()
{
    if (const char* env = std::getenv("PARCHLY_CORPUS_HARD"); env && *env)
        return env;
    return std::filesystem::path(PARCHLY_SOURCE_DIR) / ".." / "shared" / "corpus-hard";
}

// The printed reference labels as (0-based line, label): lines that open
// with a bracketed label, in the text from the first heading that names
// references ("5.  REFERENCES", "A.      Normative References", "11.
// References") to the next heading at the margin that names something else.
std::vector<std::pair<int32_t, std::string>> printedLabels(const std::vector<std::string>& lines)
{
    const std::regex heading(R"(((\d+|[A-Z])(\.\d+)*\.?)?\s*((Normative|Informative)\s+)?References\s*)",
                             std::regex::icase);
    const std::regex otherHeading(R"((\d+\.|[A-Z]\.|Appendix|Author|Full Copyright|Index|Acknowledg).*\n)");
    const std::regex label(R"(\s{0,8}(\[[^\[\]\s][^\[\]]*\])([^,.;)].*)?\n)");
    std::vector<std::pair<int32_t, std::string>> labels;
    bool inReferences = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string text = lines[i];
        const std::size_t end = text.find_last_not_of(" \t\r\n");
        const std::string words = end == std::string::npos ? std::string() : text.substr(0, end + 1);
        if (std::regex_match(words, heading) && words.find_first_not_of(' ') == 0) {
            inReferences = true;
            continue;
        }
        std::smatch match;
        const bool afterBlank = i > 0 && test::isBlank(lines[i - 1]);
        if (inReferences && afterBlank && std::regex_match(text, otherHeading))
            inReferences = false;
        else if (inReferences && std::regex_match(text, match, label))
            labels.emplace_back(static_cast<int32_t>(i), match[1].str());
    }
    return labels;
}

class HardCorpus : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        const std::filesystem::path path = hardCorpusFolder() / GetParam();
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            GTEST_SKIP() << path << " not found";
        rfc = test::readPrintedRfc(path);
    }
    test::PrintedRfc rfc;
};

TEST_P(HardCorpus, ReferencesAreThePrintedLabels)
{
    const auto printed = printedLabels(rfc.lines);
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(test::foundReferences(rfc.analysed.text), printed);
}

// Every bracketed occurrence of a printed label, outside its own entry line,
// the contents and the page headers and footers, is a citation link.
TEST_P(HardCorpus, EveryPrintedCitationIsALink)
{
    const RfcText& text = rfc.analysed.text;
    std::set<std::string> labels;
    std::set<int32_t> skipped = test::linesWithoutCitations(text);
    for (const auto& [line, label] : printedLabels(rfc.lines)) {
        labels.insert(label);
        skipped.insert(line);
    }
    std::set<std::pair<int32_t, int32_t>> links;
    for (const LinkMark& link : text.links) {
        if (link.kind == LinkKind::Citation || link.kind == LinkKind::Section)
            links.insert({link.line, link.startColumn});
    }
    int cited = 0;
    test::forEachBracketedLabel(
        rfc, labels, skipped, [&](int32_t index, std::size_t open, std::size_t close) {
            ++cited;
            const bool linked = std::any_of(links.begin(), links.end(), [&](const auto& link) {
                return link.first == index && link.second <= static_cast<int32_t>(open)
                    && static_cast<int32_t>(open) < static_cast<int32_t>(close);
            });
            EXPECT_TRUE(linked) << "line " << index + 1 << ": " << rfc.lines[static_cast<std::size_t>(index)];
        });
    EXPECT_GT(cited, 0);
}

// One page per form feed; every line that names its page ("[Page 12]") is
// a footer, and every line opening a page with "RFC" and a number is a
// header.
TEST_P(HardCorpus, OnePagePerFormFeedWithItsHeaderAndFooter)
{
    const RfcText& text = rfc.analysed.text;
    EXPECT_EQ(static_cast<long>(text.pageEnds.size()), test::formFeedLines(rfc.lines) + 1);
    std::set<std::pair<int32_t, bool>> marks;
    for (const PageMark& mark : text.pageMarks)
        marks.insert({mark.line - 1, mark.isHeader});
    const std::regex footer(R"(.*\[Page \d+\]\s*)");
    const std::regex header(R"(RFC ?\d+ .*\s*)");
    bool pageOpen = false;
    int printed = 0;
    for (std::size_t i = 0; i < rfc.lines.size(); ++i) {
        const std::string& line = rfc.lines[i];
        if (line.find('\f') != std::string::npos) {
            pageOpen = true;
            continue;
        }
        if (test::isBlank(line))
            continue;
        const bool opensPage = pageOpen;
        pageOpen = false;
        const int32_t index = static_cast<int32_t>(i);
        if (std::regex_match(line, footer)) {
            ++printed;
            EXPECT_EQ(marks.count({index, false}), 1u) << "line " << i + 1 << ": " << line;
        } else if (opensPage && std::regex_match(line, header)) {
            ++printed;
            EXPECT_EQ(marks.count({index, true}), 1u) << "line " << i + 1 << ": " << line;
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(printed), text.pageMarks.size());
}

// Every contents line that ends in a page number is an entry ending there.
TEST_P(HardCorpus, EveryPrintedContentsLineIsAnEntry)
{
    const std::regex entry(R"(\s*\S.*?(\s*\.[\s.]*|\s{2,})\d+\s*\n)");
    std::size_t i = 0;
    while (i < rfc.lines.size() && rfc.lines[i].find("Table of Contents") == std::string::npos)
        ++i;
    std::set<int32_t> lastLines;
    for (const ContentEntry& e : rfc.analysed.text.contents)
        lastLines.insert(e.lastLine);
    int printed = 0;
    for (++i; i < rfc.lines.size(); ++i) {
        const std::string& line = rfc.lines[i];
        if (line.compare(0, 3, "RFC") == 0 || line.find("[Page ") != std::string::npos || test::isBlank(line))
            continue;
        if (!std::regex_match(line, entry))
            break;
        ++printed;
        EXPECT_EQ(lastLines.count(static_cast<int32_t>(i + 1)), 1u) << "line " << i + 1 << ": " << line;
    }
    EXPECT_GT(printed, 10);
}

INSTANTIATE_TEST_SUITE_P(Rfcs, HardCorpus,
                         ::testing::Values("rfc1122.txt", "rfc3501.txt", "rfc5389.txt", "rfc6762.txt",
                                           "rfc7231.txt", "rfc8261.txt"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });

} // namespace
} // namespace parchly
