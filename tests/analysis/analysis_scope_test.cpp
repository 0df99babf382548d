// What a caller that asks for less of the analysis gets: the citations it
// counts exactly as the reading view links them, and every other field as
// the full analysis gives it.
#include "analysis_support.h"

#include "support/corpus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace parchly {
namespace {

using test::analyseBytes;

AnalysisOptions scope(LinkScope links, bool requirements)
{
    AnalysisOptions options;
    options.links = links;
    options.requirements = requirements;
    return options;
}

std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> citationsOf(const RfcText& text)
{
    std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> citations;
    for (const LinkMark& link : text.links)
        if (link.kind == LinkKind::Citation)
            citations.emplace_back(link.line, link.startColumn, link.endColumn, link.targetReference,
                                   link.targetRfc);
    return citations;
}

// Citations wrapped at a line's end, one over a page break: read on into
// the next line where only the citations are read too.
const char* const kWrappedCitations = "Request for Comments: 5\n\nTitle\n\n1.  Intro\n\n"
                                      "   See [1,\n   2] and [Postel\n   81] and [1, 2,\n\n"
                                      "Writer                                   [Page 1]\n\f"
                                      "RFC 5                  Title                  March 1999\n\n"
                                      "   3] too.\n\n2.  References\n\n"
                                      "   [1]  One.\n\n   [2]  Two.\n\n   [3]  Three.\n\n"
                                      "   [Postel 81]  Postel, J., \"Internet Protocol\", 1981.\n";

// The golden text with links of every kind, the wrapped citations, and the
// corpus when present.
std::vector<std::pair<std::string, std::string>> texts()
{
    std::vector<std::pair<std::string, std::string>> found = {{"links.txt", test::goldenBytes("links.txt")},
                                                              {"wrapped", kWrappedCitations}};
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(test::corpusFolder(), error)) {
        const std::string name = item.path().filename().string();
        if (name.rfind("rfc", 0) != 0 || name == "rfc-index.txt" || item.path().extension() != ".txt")
            continue;
        std::ifstream in(item.path(), std::ios::binary);
        found.emplace_back(name, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    return found;
}

TEST(AnalysisScope, CitationsAloneAreTheCitationsOfTheFullAnalysis)
{
    for (const auto& [name, bytes] : texts()) {
        SCOPED_TRACE(name);
        const RfcText full = analyseBytes(bytes).text;
        const RfcText citations = analyseBytes(bytes, scope(LinkScope::Citations, false)).text;
        EXPECT_EQ(citationsOf(citations), citationsOf(full));
        EXPECT_EQ(citations.links.size(), citationsOf(citations).size()) << "a link of another kind";
        if (name == "links.txt") {
            EXPECT_GE(citationsOf(full).size(), 10u); // the comparison compares something
        }
        if (name == "wrapped") {
            EXPECT_EQ(citationsOf(full).size(), 7u); // two, two halves and three, each on its line
        }
    }
}

// The cited-by count analyses without links and then, where a reference
// names an RFC, finds the citations over the same record.
TEST(AnalysisScope, CitationsFoundAfterTheAnalysisAreThoseFoundWithIt)
{
    for (const auto& [name, bytes] : texts()) {
        SCOPED_TRACE(name);
        const RfcText together = analyseBytes(bytes, scope(LinkScope::Citations, false)).text;
        LineReader reader(bytes);
        RfcText after;
        analyseText(after, &reader, LimitsBlock(), scope(LinkScope::None, false));
        findLinksAndRequirements(after, reader, LinkScope::Citations, false);
        EXPECT_EQ(test::fullRecord(after).dump(1), test::fullRecord(together).dump(1));
    }
}

TEST(AnalysisScope, LeavingOutLinksOrRequirementsChangesNoOtherField)
{
    const std::string bytes = test::goldenBytes("links.txt");
    const RfcText full = analyseBytes(bytes).text;
    ASSERT_FALSE(full.links.empty());
    ASSERT_FALSE(full.requirements.empty());
    const auto withoutLinksAndRequirements = [](const RfcText& text) {
        Json record = test::fullRecord(text);
        record.erase("links");
        record.erase("requirements");
        return record.dump(1);
    };
    const std::tuple<const char*, AnalysisOptions, bool, bool> cases[] = {
        {"neither", scope(LinkScope::None, false), false, false},
        {"citations alone", scope(LinkScope::Citations, false), true, false},
        {"links alone", scope(LinkScope::All, false), true, false},
        {"requirements alone", scope(LinkScope::None, true), false, true},
    };
    for (const auto& [what, options, links, requirements] : cases) {
        SCOPED_TRACE(what);
        const RfcText text = analyseBytes(bytes, options).text;
        EXPECT_EQ(withoutLinksAndRequirements(text), withoutLinksAndRequirements(full));
        EXPECT_EQ(!text.links.empty(), links);
        EXPECT_EQ(!text.requirements.empty(), requirements);
        if (requirements) {
            EXPECT_EQ(test::fullRecord(text)["requirements"], test::fullRecord(full)["requirements"]);
        }
        if (links && options.links == LinkScope::All) {
            EXPECT_EQ(test::fullRecord(text)["links"], test::fullRecord(full)["links"]);
        }
    }
}

// The cited-by count and the search over the collection leave out what only
// the reading view shows; what they use must not move for it.
TEST(AnalysisScope, LeavingOutPageStatisticsAndCitationMarksChangesNoOtherField)
{
    const char* const kLeftOut[] = {"linesBeforeHeader",        "linesFromFooter",   "blankAfterHeader",
                                    "blankBeforeFooter",        "pageEndsNoHeaders", "pageEndsNoFooters",
                                    "pageEndsNoHeadersFooters", "citations"};
    const auto withoutLeftOut = [&kLeftOut](const RfcText& text) {
        Json record = test::fullRecord(text);
        for (const char* field : kLeftOut)
            record.erase(field);
        return record.dump(1);
    };
    AnalysisOptions less;
    less.pageStatistics = false;
    less.citationMarks = false;
    for (const auto& [name, bytes] : texts()) {
        SCOPED_TRACE(name);
        const RfcText full = analyseBytes(bytes).text;
        const RfcText text = analyseBytes(bytes, less).text;
        EXPECT_EQ(withoutLeftOut(text), withoutLeftOut(full));
        EXPECT_TRUE(text.citations.empty());
        EXPECT_TRUE(text.linesBeforeHeader.empty());
        if (name == "links.txt") {
            EXPECT_FALSE(full.citations.empty()); // the full analysis has what is left out
        }
    }
}

} // namespace
} // namespace parchly
