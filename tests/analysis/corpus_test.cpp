// The analysis over the real RFCs of the corpus, checked against the files'
// own lines. Skips when the corpus is absent.
#include "analysis/links.h"
#include "analysis/references.h"
#include "analysis/requirements_csv.h"
#include "analysis/section_anchors.h"
#include "analysis_support.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <regex>
#include <set>

namespace parchly {
namespace {

// One rfcN.txt of the corpus, its record and its lines as the passes read them.
struct CorpusRfc {
    std::string name;
    int32_t number = 0;
    std::string bytes;
    test::Analysed analysed;
    std::vector<std::string> lines;
};

// Every RFC of the corpus, analysed; empty when the corpus is absent.
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
        CorpusRfc& rfc = rfcs.emplace_back();
        rfc.name = file;
        rfc.number = std::stoi(match[1].str());
        rfc.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        rfc.analysed = test::analyseBytes(rfc.bytes);
        rfc.lines = test::readerLines(rfc.bytes);
    }
    return rfcs;
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        rfcs = corpusRfcs();
        if (rfcs.empty())
            GTEST_SKIP() << "no RFCs in the corpus";
    }
    std::vector<CorpusRfc> rfcs;
};

// The 0-based lines of the page headers and footers.
std::set<int32_t> pageMarkLines(const RfcText& text)
{
    std::set<int32_t> lines;
    for (const PageMark& mark : text.pageMarks)
        lines.insert(mark.line - 1);
    return lines;
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

// A header opens with "RFC" or stands among the top lines of its page, under
// the form feed ("September 1981" / "Internet Protocol" in RFC 791).
bool isPageTopLine(const std::vector<std::string>& lines, int32_t number)
{
    if (isHeaderLike(lines[static_cast<std::size_t>(number - 1)]))
        return true;
    int above = 0;
    for (int32_t k = number - 2; k >= 0 && k >= number - 14; --k) {
        const std::string& line = lines[static_cast<std::size_t>(k)];
        if (line.find('\f') != std::string::npos)
            return above < 3;
        above += line.find_first_not_of(" \t\r\n") != std::string::npos ? 1 : 0;
    }
    return false;
}

// A footer names its page, or closes it: only blank lines stand between it
// and the form feed or the end of the text ("- 47 -" in RFC 822).
bool isFooterLike(const std::vector<std::string>& lines, int32_t number)
{
    const std::string& line = lines[static_cast<std::size_t>(number - 1)];
    if (line.find("[Page ") != std::string::npos || line.find("[page ") != std::string::npos)
        return true;
    for (std::size_t k = static_cast<std::size_t>(number); k < lines.size(); ++k) {
        if (lines[k][0] == '\f')
            return true;
        if (lines[k].find_first_not_of(" \t\r\n") != std::string::npos)
            return false;
    }
    return true;
}

// Their pages are headed by the date and title alone ("RFC:  791",
// "RFC: 793"), or their front matter is a single line of one space (RFC
// 822, which has no number keyword the block reader knows).
const std::set<std::string> kUnusualRfcs = {"rfc791.txt", "rfc793.txt", "rfc822.txt"};

// A page for each form feed; the number, date and title of the front
// matter; most pages of a paginated RFC with both a header and a footer.
void expectPagesAndFrontMatter(const CorpusRfc& rfc)
{
    const RfcText& text = rfc.analysed.text;
    const auto formFeedLines = std::count_if(rfc.lines.begin(), rfc.lines.end(), [](const std::string& line) {
        return line.find('\f') != std::string::npos;
    });
    EXPECT_EQ(static_cast<long>(text.pageEnds.size()), formFeedLines + 1);
    if (rfc.name != "rfc822.txt") {
        EXPECT_EQ(text.rfcNumber, rfc.number);
    }
    if (formFeedLines > 0 && kUnusualRfcs.count(rfc.name) == 0) {
        EXPECT_GT(text.year, 1960);
        EXPECT_FALSE(text.month.empty());
        EXPECT_FALSE(text.title.empty());
        EXPECT_GE(text.pageMarks.size(), 2 * static_cast<std::size_t>(text.pageCount) - 1);
        test::expectShownLinesRoundTrip(text);
    }
}

void expectPageMarksOnHeaderAndFooterLines(const CorpusRfc& rfc)
{
    for (const PageMark& mark : rfc.analysed.text.pageMarks) {
        ASSERT_GE(mark.line, 1);
        ASSERT_LE(mark.line, static_cast<int32_t>(rfc.lines.size()));
        const std::string& line = rfc.lines[static_cast<std::size_t>(mark.line - 1)];
        EXPECT_TRUE(mark.isHeader ? isPageTopLine(rfc.lines, mark.line) : isFooterLike(rfc.lines, mark.line))
            << "line " << mark.line << ": " << line;
    }
}

// An entry labelled with an RFC number names that RFC after its title (RFC
// 2324 itself misprints one).
void expectLabelledReferencesNameTheirRfc(const RfcText& text)
{
    const std::regex rfcLabel(R"(\[RFC(\d+)\])");
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

TEST_F(Corpus, EveryRfcAgreesWithItsText)
{
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        EXPECT_TRUE(rfc.analysed.ok);
        expectPagesAndFrontMatter(rfc);
        expectPageMarksOnHeaderAndFooterLines(rfc);
        expectConsistentReferences(rfc.analysed.text, rfc.lines);
        expectLabelledReferencesNameTheirRfc(rfc.analysed.text);
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

// Paged entries end on the line of their page number; unpaginated ones are
// known by their first line. Nearly all (all when unpaginated) are matched
// to their headings, in order; an unpaginated RFC's references are found
// as printed.
void expectContentsParsedAndMatched(const CorpusRfc& rfc, bool unpaginated)
{
    const RfcText& text = rfc.analysed.text;
    const std::vector<ContentEntry>& contents = text.contents;
    const std::vector<int32_t> printed =
        unpaginated ? printedEntryFirstLines(rfc.lines) : printedEntryLines(rfc.lines);
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
        EXPECT_EQ(found, printedReferences(rfc.lines));
        EXPECT_FALSE(text.citations.empty());
    }
}

TEST_F(Corpus, TablesOfContentsParsedAndMatched)
{
    const std::set<std::string> paged = {"rfc2616.txt", "rfc3261.txt", "rfc3986.txt", "rfc5246.txt",
                                         "rfc6749.txt", "rfc7230.txt", "rfc8446.txt"};
    int checked = 0;
    for (const CorpusRfc& rfc : rfcs) {
        const bool unpaginated = rfc.number >= 8650;
        if (!unpaginated && paged.count(rfc.name) == 0)
            continue;
        SCOPED_TRACE(rfc.name);
        ++checked;
        ASSERT_TRUE(rfc.analysed.ok);
        expectContentsParsedAndMatched(rfc, unpaginated);
    }
    if (checked == 0)
        GTEST_SKIP() << "none of the RFCs with a table of contents is in the corpus";
}

// Every RFC, its LF line ends turned into CR LF, gives the record it gives
// as it is: the line ends are turned back where the text is read, the same
// 1,023-byte pieces included.
TEST_F(Corpus, CrLfLineEndsGiveTheRecordOfLfLineEnds)
{
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        std::string crLf;
        for (char c : rfc.bytes)
            crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        const auto converted = test::analyseBytes(crLf);
        EXPECT_EQ(rfc.analysed.ok, converted.ok);
        test::expectSameAnalysis(rfc.analysed.text, converted.text);
    }
}

// Every bracket pair of every line that names a reference (not the
// reference's own label, not in the contents, the front matter or a page
// header or footer) is a citation link at its columns.
// The 0-based lines where no citation is looked for: page headers and
// footers and the contents.
std::set<int32_t> linesWithoutCitations(const RfcText& text)
{
    std::set<int32_t> skipped = pageMarkLines(text);
    for (const ContentEntry& entry : text.contents) {
        for (int32_t line = entry.firstLine; entry.firstLine > 0 && line <= entry.lastLine; ++line)
            skipped.insert(line - 1);
    }
    return skipped;
}

TEST_F(Corpus, EveryCitationOfEveryLineIsALink)
{
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const RfcText& text = rfc.analysed.text;
        std::set<std::string> labels;
        std::set<int32_t> definitions;
        for (const ReferenceEntry& reference : text.references) {
            labels.insert(reference.label);
            definitions.insert(reference.firstLine);
        }
        const std::set<int32_t> skipped = linesWithoutCitations(text);
        std::set<std::tuple<int32_t, int32_t, int32_t>> citations;
        for (const LinkMark& link : text.links) {
            if (link.kind == LinkKind::Citation)
                citations.insert({link.line, link.startColumn, link.endColumn});
        }
        for (int32_t index = std::max(text.titleLine - 1, 0); index < static_cast<int32_t>(rfc.lines.size());
             ++index) {
            const std::string& line = rfc.lines[static_cast<std::size_t>(index)];
            for (std::size_t open = line.find('['); open != std::string::npos && skipped.count(index) == 0;
                 open = line.find('[', open + 1)) {
                const std::size_t close = line.find(']', open);
                const bool definition =
                    definitions.count(index) != 0 && line.find_first_not_of(" \t") == open;
                if (close != std::string::npos && !definition
                    && labels.count(line.substr(open, close + 1 - open))) {
                    EXPECT_EQ(citations.count({index, int32_t(open), int32_t(close + 1)}), 1u)
                        << "line " << index + 1 << ": " << line;
                }
            }
        }
    }
}

// Every "Section N of RFC M" or "of [RFCM]" on one line of these RFCs is a
// section link into RFC M; every section link into an RFC of the corpus
// resolves to a located heading there.
TEST_F(Corpus, SectionsOfOtherRfcsResolve)
{
    std::map<int32_t, const CorpusRfc*> byNumber;
    for (const CorpusRfc& rfc : rfcs)
        byNumber.emplace(rfc.number, &rfc);
    const std::regex phrase(R"(Section (\d+(\.\d+)*) of (RFC ?|\[RFC)(\d+))");
    for (const int32_t number : {9110, 9293, 8446}) {
        const auto source = byNumber.find(number);
        for (std::size_t index = 0; source != byNumber.end() && index < source->second->lines.size();
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
    for (const CorpusRfc& rfc : rfcs) {
        for (const LinkMark& link : rfc.analysed.text.links) {
            const auto target = byNumber.find(link.targetRfc);
            if (link.kind == LinkKind::Section && link.targetRfc != 0 && target != byNumber.end()) {
                EXPECT_GT(sectionHeadingLine(target->second->analysed.text, link.targetSection), 0)
                    << rfc.name << " line " << link.line + 1 << ": Section " << link.targetSection
                    << " of RFC " << link.targetRfc;
            }
        }
    }
}

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The words of a text in order, where each stands, and the lines of the
// paragraphs that define the keywords, bounded by blank lines.
struct TextWords {
    std::vector<std::pair<int32_t, std::string>> words;
    std::map<std::pair<int32_t, int32_t>, std::size_t> wordAt;
    std::set<int32_t> boilerplate;
};

TextWords wordsOf(const CorpusRfc& rfc)
{
    const std::set<int32_t> pageMarks = pageMarkLines(rfc.analysed.text);
    TextWords result;
    std::vector<int32_t> paragraph;
    std::string joined;
    for (int32_t index = 0; index <= static_cast<int32_t>(rfc.lines.size()); ++index) {
        const std::string line =
            index < static_cast<int32_t>(rfc.lines.size()) ? rfc.lines[static_cast<std::size_t>(index)] : "";
        if (pageMarks.count(index) != 0 || line.find('\f') != std::string::npos)
            continue;
        if (line.find_first_not_of(" \t\r\n") == std::string::npos) {
            if (joined.find("interpreted as described") != std::string::npos)
                result.boilerplate.insert(paragraph.begin(), paragraph.end());
            paragraph.clear();
            joined.clear();
            continue;
        }
        paragraph.push_back(index);
        const std::size_t first = line.find_first_not_of(" \t");
        joined += line.substr(first, line.find_last_not_of(" \t\r\n") + 1 - first) + " ";
        for (std::size_t i = 0, end = 0; i < line.size(); i = std::max(end, i + 1)) {
            for (end = i; end < line.size() && isWordChar(line[end]);)
                ++end;
            if (end > i) {
                result.wordAt[{index, static_cast<int32_t>(i)}] = result.words.size();
                result.words.emplace_back(index, line.substr(i, end - i));
            }
        }
    }
    return result;
}

// Every upper-case keyword word of every RFC, outside the paragraph that
// defines the keywords and the references, is claimed by exactly one
// listed keyword; "NOT" only as part of one.
TEST_F(Corpus, EveryKeywordInExactlyOneSentence)
{
    const std::set<std::string> keywordWords = {"MUST",        "REQUIRED", "SHALL",   "SHOULD",
                                                "RECOMMENDED", "MAY",      "OPTIONAL"};
    for (const CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const TextWords text = wordsOf(rfc);
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
                keywordWords.count(text.words[i].second) != 0 && outside(text.words[i].first);
            EXPECT_EQ(claims[i], counted ? 1 : std::min(claims[i], 1))
                << "line " << text.words[i].first + 1 << ": " << text.words[i].second;
        }
    }
}

} // namespace
} // namespace parchly
