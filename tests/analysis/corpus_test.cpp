// The analysis over the real RFCs of the corpus, checked against the files'
// own lines. Skips when the corpus is absent.
#include "analysis/links.h"
#include "analysis/references.h"
#include "analysis/references_sections.h"
#include "analysis/requirements_csv.h"
#include "analysis/section_anchors.h"
#include "analysis_support.h"
#include "printed_text.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>

namespace parchly {
namespace {

using test::PrintedRfc;

// Every RFC of the corpus, analysed once for all the cases; empty when the
// corpus is absent.
class Corpus : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_rfcs = std::make_unique<std::vector<PrintedRfc>>();
        std::error_code error;
        const std::regex name("rfc([0-9]+)\\.txt");
        for (const auto& entry : std::filesystem::directory_iterator(test::corpusFolder(), error)) {
            std::smatch match;
            const std::string file = entry.path().filename().string();
            if (std::regex_match(file, match, name))
                s_rfcs->push_back(test::readPrintedRfc(entry.path(), std::stoi(match[1].str())));
        }
    }
    static void TearDownTestSuite() { s_rfcs.reset(); }

    void SetUp() override
    {
        if (s_rfcs->empty())
            GTEST_SKIP() << "no RFCs in the corpus";
    }

    // Runs `check` on every RFC, under its name.
    template <typename Check> static void forEachRfc(Check check)
    {
        for (const PrintedRfc& rfc : *s_rfcs) {
            SCOPED_TRACE(rfc.name);
            check(rfc);
        }
    }

    static std::unique_ptr<std::vector<PrintedRfc>> s_rfcs;
};

std::unique_ptr<std::vector<PrintedRfc>> Corpus::s_rfcs;

// The RFCs whose tables of contents are checked: these paginated ones and
// every unpaginated one. Skips when none is in the corpus.
class CorpusContents : public Corpus {
protected:
    template <typename Check> static void forEachWithContents(Check check)
    {
        const std::set<std::string> paged = {"rfc2616.txt", "rfc3261.txt", "rfc3986.txt", "rfc5246.txt",
                                             "rfc6749.txt", "rfc7230.txt", "rfc8446.txt"};
        int checked = 0;
        forEachRfc([&](const PrintedRfc& rfc) {
            const bool unpaginated = rfc.number >= 8650;
            if (!unpaginated && paged.count(rfc.name) == 0)
                return;
            ++checked;
            ASSERT_TRUE(rfc.analysed.ok);
            check(rfc, unpaginated);
        });
        if (checked == 0)
            GTEST_SKIP() << "none of the RFCs with a table of contents is in the corpus";
    }
};

// Their pages are headed by the date and title alone ("RFC:  791",
// "RFC: 793"), or their front matter is a single line of one space (RFC
// 822, which has no number keyword the block reader knows).
const std::set<std::string> kUnusualRfcs = {"rfc791.txt", "rfc793.txt", "rfc822.txt"};

TEST_F(Corpus, EveryRfcIsAnalysedWithAPagePerFormFeed)
{
    forEachRfc([](const PrintedRfc& rfc) {
        EXPECT_TRUE(rfc.analysed.ok);
        EXPECT_EQ(static_cast<long>(rfc.analysed.text.pageEnds.size()), test::formFeedLines(rfc.lines) + 1);
        if (rfc.name != "rfc822.txt") {
            EXPECT_EQ(rfc.analysed.text.rfcNumber, rfc.number);
        }
    });
}

// The date and title of the front matter; most pages of a paginated RFC
// with both a header and a footer.
TEST_F(Corpus, PaginatedRfcsHaveFrontMatterAndMarkedPages)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const RfcText& text = rfc.analysed.text;
        if (test::formFeedLines(rfc.lines) == 0 || kUnusualRfcs.count(rfc.name) != 0)
            return;
        EXPECT_GT(text.year, 1960);
        EXPECT_FALSE(text.month.empty());
        EXPECT_FALSE(text.title.empty());
        EXPECT_GE(text.pageMarks.size(), 2 * static_cast<std::size_t>(text.pageCount) - 1);
        test::expectShownLinesRoundTrip(text);
    });
}

TEST_F(Corpus, PageMarksStandOnHeaderAndFooterLines)
{
    forEachRfc([](const PrintedRfc& rfc) {
        for (const PageMark& mark : rfc.analysed.text.pageMarks) {
            ASSERT_GE(mark.line, 1);
            ASSERT_LE(mark.line, static_cast<int32_t>(rfc.lines.size()));
            const std::string& line = rfc.lines[static_cast<std::size_t>(mark.line - 1)];
            EXPECT_TRUE(mark.isHeader ? test::isPageTopLine(rfc.lines, mark.line)
                                      : test::isFooterLike(rfc.lines, mark.line))
                << "line " << mark.line << ": " << line;
        }
    });
}

// Whether contents entry `entry` is numbered as a group of a references
// section ("13.2.1.  Related Protocols" under "13.2.  Informative
// References", RFC 9051).
bool groupsReferences(const std::vector<ContentEntry>& contents, const ContentEntry& entry)
{
    return std::any_of(contents.begin(), contents.end(), [&entry](const ContentEntry& other) {
        return opensReferences(other.title) && isSubsectionNumber(entry.number, other.number);
    });
}

// Every reference sits in a references section (or the list of URIs after
// it, or a numbered group of it), in file order, at a line that shows its
// label.
TEST_F(Corpus, ReferencesStandInOrderOnTheLinesOfTheirLabels)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const RfcText& text = rfc.analysed.text;
        int32_t previousLine = -1;
        for (const ReferenceEntry& reference : text.references) {
            ASSERT_GT(reference.firstLine, previousLine);
            ASSERT_LT(reference.lastLine, static_cast<int32_t>(rfc.lines.size()));
            const std::string& line = rfc.lines[static_cast<std::size_t>(reference.firstLine)];
            EXPECT_EQ(line.substr(line.find('['), reference.label.size()), reference.label);
            const ContentEntry& section = text.contents.at(static_cast<std::size_t>(reference.section));
            EXPECT_TRUE(opensReferences(section.title) || namesUriList(section.title)
                        || groupsReferences(text.contents, section))
                << section.title;
            previousLine = reference.firstLine;
        }
    });
}

TEST_F(Corpus, EveryCitationShowsTheLabelItPointsAt)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const RfcText& text = rfc.analysed.text;
        for (const CitationMark& citation : text.citations) {
            const std::string& line = rfc.lines.at(static_cast<std::size_t>(citation.line));
            EXPECT_EQ(line.substr(static_cast<std::size_t>(citation.startColumn),
                                  static_cast<std::size_t>(citation.endColumn - citation.startColumn)),
                      text.references.at(static_cast<std::size_t>(citation.reference)).label);
        }
    });
}

// The record's citations are those the view links, every one of a line:
// each whole bracketed label linked before the first reference is one.
TEST_F(Corpus, CitationsHoldEveryLinkedLabelBeforeTheReferences)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const RfcText& text = rfc.analysed.text;
        if (text.references.empty())
            return;
        std::set<std::tuple<int32_t, int32_t, int32_t>> citations;
        for (const CitationMark& citation : text.citations)
            citations.insert({citation.line, citation.startColumn, citation.endColumn});
        for (const LinkMark& link : text.links) {
            if (link.kind != LinkKind::Citation || link.line >= text.references.front().firstLine)
                continue;
            const std::string& line = rfc.lines.at(static_cast<std::size_t>(link.line));
            if (line[static_cast<std::size_t>(link.startColumn)] == '['
                && line[static_cast<std::size_t>(link.endColumn - 1)] == ']') {
                EXPECT_EQ(citations.count({link.line, link.startColumn, link.endColumn}), 1u)
                    << "line " << link.line + 1 << ": " << line;
            }
        }
    });
}

// An entry labelled with an RFC number names that RFC after its title (RFC
// 2324 itself misprints one).
TEST_F(Corpus, ReferencesLabelledWithAnRfcNameThatRfc)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const std::regex rfcLabel(R"(\[RFC(\d+)\])");
        int labelled = 0;
        int agreeing = 0;
        for (const ReferenceEntry& reference : rfc.analysed.text.references) {
            std::smatch number;
            if (std::regex_match(reference.label, number, rfcLabel) && !reference.title.empty()) {
                ++labelled;
                agreeing += reference.rfc == std::stoi(number[1].str());
            }
        }
        EXPECT_LE(labelled - agreeing, std::max(1, labelled / 10)) << agreeing << " of " << labelled;
    });
}

// Paged entries end on the line of their page number; unpaginated ones are
// known by their first line.
TEST_F(CorpusContents, EntriesAreThePrintedOnes)
{
    forEachWithContents([](const PrintedRfc& rfc, bool unpaginated) {
        const std::vector<int32_t> printed =
            unpaginated ? test::printedEntryFirstLines(rfc.lines) : test::printedEntryLines(rfc.lines);
        std::vector<int32_t> parsed;
        for (const ContentEntry& e : rfc.analysed.text.contents)
            parsed.push_back(unpaginated ? e.firstLine : e.lastLine);
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(parsed, printed);
    });
}

// Nearly all entries (all when unpaginated) are matched to their headings,
// in order.
TEST_F(CorpusContents, EntriesAreMatchedToHeadingsInOrder)
{
    forEachWithContents([](const PrintedRfc& rfc, bool unpaginated) {
        const std::vector<ContentEntry>& contents = rfc.analysed.text.contents;
        const auto matched =
            std::count_if(contents.begin(), contents.end(), [](const ContentEntry& e) { return e.matched; });
        EXPECT_GE(matched * 100, static_cast<long>(contents.size()) * (unpaginated ? 100 : 95))
            << matched << " of " << contents.size() << " matched";
        for (std::size_t i = 1; i < contents.size(); ++i) {
            if (contents[i].matched && contents[i - 1].matched) {
                EXPECT_LT(contents[i - 1].headingLine, contents[i].headingLine) << contents[i].title;
            }
        }
    });
}

TEST_F(CorpusContents, UnpaginatedReferencesAreThePrintedOnes)
{
    forEachWithContents([](const PrintedRfc& rfc, bool unpaginated) {
        if (!unpaginated)
            return;
        EXPECT_EQ(test::foundReferences(rfc.analysed.text), test::printedReferences(rfc.lines));
        EXPECT_FALSE(rfc.analysed.text.citations.empty());
    });
}

// Every RFC, its LF line ends turned into CR LF, gives the record it gives
// as it is: the line ends are turned back where the text is read, the same
// 1,023-byte pieces included.
TEST_F(Corpus, CrLfLineEndsGiveTheRecordOfLfLineEnds)
{
    forEachRfc([](const PrintedRfc& rfc) {
        std::string crLf;
        for (char c : rfc.bytes)
            crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        const auto converted = test::analyseBytes(crLf);
        EXPECT_EQ(rfc.analysed.ok, converted.ok);
        test::expectSameAnalysis(rfc.analysed.text, converted.text);
    });
}

// Every bracket pair of every line that names a reference (not the
// reference's own label, not in the contents, the front matter or a page
// header or footer) is a citation link at its columns.
TEST_F(Corpus, EveryCitationOfEveryLineIsALink)
{
    forEachRfc([](const PrintedRfc& rfc) {
        const RfcText& text = rfc.analysed.text;
        std::set<std::string> labels;
        std::set<int32_t> definitions;
        for (const ReferenceEntry& reference : text.references) {
            labels.insert(reference.label);
            definitions.insert(reference.firstLine);
        }
        std::set<std::tuple<int32_t, int32_t, int32_t>> citations;
        for (const LinkMark& link : text.links) {
            if (link.kind == LinkKind::Citation)
                citations.insert({link.line, link.startColumn, link.endColumn});
        }
        test::forEachBracketedLabel(
            rfc, labels, test::linesWithoutCitations(text),
            [&](int32_t index, std::size_t open, std::size_t close) {
                const std::string& line = rfc.lines[static_cast<std::size_t>(index)];
                if (definitions.count(index) != 0 && line.find_first_not_of(" \t") == open)
                    return;
                EXPECT_EQ(citations.count({index, int32_t(open), int32_t(close + 1)}), 1u)
                    << "line " << index + 1 << ": " << line;
            });
    });
}

// The RFCs of the corpus by number.
std::map<int32_t, const PrintedRfc*> byNumber(const std::vector<PrintedRfc>& rfcs)
{
    std::map<int32_t, const PrintedRfc*> numbered;
    for (const PrintedRfc& rfc : rfcs)
        numbered.emplace(rfc.number, &rfc);
    return numbered;
}

// Every "Section N of RFC M" or "of [RFCM]" on one line of these RFCs is a
// section link into RFC M.
TEST_F(Corpus, SectionsOfOtherRfcsAreSectionLinks)
{
    const auto numbered = byNumber(*s_rfcs);
    const std::regex phrase(R"(Section (\d+(\.\d+)*) of (RFC ?|\[RFC)(\d+))");
    for (const int32_t number : {9110, 9293, 8446}) {
        const auto source = numbered.find(number);
        for (std::size_t index = 0; source != numbered.end() && index < source->second->lines.size();
             ++index) {
            const std::string& line = source->second->lines[index];
            for (std::sregex_iterator match(line.begin(), line.end(), phrase), end; match != end; ++match) {
                const LinkMark* link = linkAt(source->second->analysed.text, static_cast<int32_t>(index),
                                              static_cast<int32_t>(match->position(0)));
                EXPECT_TRUE(link != nullptr && link->kind == LinkKind::Section
                            && link->targetSection == (*match)[1].str()
                            && link->targetRfc == std::stoi((*match)[4].str()))
                    << "rfc" << number << " line " << index + 1 << ": " << match->str();
            }
        }
    }
}

// Every section link into an RFC of the corpus resolves to a located
// heading there.
TEST_F(Corpus, SectionLinksIntoTheCorpusResolve)
{
    const auto numbered = byNumber(*s_rfcs);
    forEachRfc([&](const PrintedRfc& rfc) {
        for (const LinkMark& link : rfc.analysed.text.links) {
            const auto target = numbered.find(link.targetRfc);
            if (link.kind == LinkKind::Section && link.targetRfc != 0 && target != numbered.end()) {
                EXPECT_GT(sectionHeadingLine(target->second->analysed.text, link.targetSection), 0)
                    << "line " << link.line + 1 << ": Section " << link.targetSection << " of RFC "
                    << link.targetRfc;
            }
        }
    });
}

const std::set<std::string> kKeywordWords = {"MUST",        "REQUIRED", "SHALL",   "SHOULD",
                                             "RECOMMENDED", "MAY",      "OPTIONAL"};

// Every upper-case keyword word of every RFC, outside the paragraph that
// defines the keywords and the references, is claimed by exactly one
// listed keyword; "NOT" only as part of one.
TEST_F(Corpus, EveryKeywordInExactlyOneSentence)
{
    forEachRfc([&](const PrintedRfc& rfc) {
        const test::TextWords text = test::wordsOf(rfc);
        const auto ranges = referencesRanges(rfc.analysed.text);
        const auto outside = [&](int32_t line) {
            for (const auto& [first, end] : ranges) {
                if (line + 1 >= first && line + 1 < end)
                    return false;
            }
            return text.boilerplate.count(line) == 0;
        };
        std::vector<int> claims(text.words.size(), 0);
        for (const RequirementSentence& requirement : rfc.analysed.text.requirements) {
            const auto word = text.wordAt.find({requirement.line, requirement.column});
            ASSERT_NE(word, text.wordAt.end()) << "line " << requirement.line + 1;
            const std::size_t space = requirement.keyword.find(' ');
            EXPECT_EQ(text.words[word->second].second, requirement.keyword.substr(0, space));
            EXPECT_NE(requirement.sentence.find(requirement.keyword.substr(0, space)), std::string::npos);
            EXPECT_TRUE(outside(requirement.line)) << "line " << requirement.line + 1;
            ++claims[word->second];
            if (space != std::string::npos) {
                EXPECT_EQ(text.words.at(word->second + 1).second, requirement.keyword.substr(space + 1));
                ++claims[word->second + 1];
            }
        }
        for (std::size_t i = 0; i < text.words.size(); ++i) {
            const bool counted =
                kKeywordWords.count(text.words[i].second) != 0 && outside(text.words[i].first);
            EXPECT_EQ(claims[i], counted ? 1 : std::min(claims[i], 1))
                << "line " << text.words[i].first + 1 << ": " << text.words[i].second;
        }
    });
}

} // namespace
} // namespace parchly
