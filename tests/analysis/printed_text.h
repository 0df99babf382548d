// What a real RFC prints, read from its lines without the analysis, for
// the tests that check the analysis of the corpus against the text itself:
// an RFC read from disk, page header and footer lines, the printed contents
// and reference labels, and every bracketed occurrence of a label.
#ifndef PARCHLY_TESTS_ANALYSIS_PRINTED_TEXT_H
#define PARCHLY_TESTS_ANALYSIS_PRINTED_TEXT_H

#include "analysis_support.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace parchly::test {

// One RFC file, its record and its lines as the passes read them.
struct PrintedRfc {
    std::string name;
    int32_t number = 0;
    std::string bytes;
    Analysed analysed;
    std::vector<std::string> lines;
};

inline PrintedRfc readPrintedRfc(const std::filesystem::path& path, int32_t number = 0)
{
    PrintedRfc rfc;
    std::ifstream in(path, std::ios::binary);
    rfc.name = path.filename().string();
    rfc.number = number;
    rfc.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    rfc.analysed = analyseBytes(rfc.bytes);
    rfc.lines = readerLines(rfc.bytes);
    return rfc;
}

inline bool isBlank(const std::string& line)
{
    return line.find_first_not_of(" \t\r\n\f") == std::string::npos;
}

inline bool isHeaderLike(const std::string& line)
{
    return line.compare(0, 4, "RFC ") == 0;
}

inline long formFeedLines(const std::vector<std::string>& lines)
{
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::string& line) { return line.find('\f') != std::string::npos; });
}

// The 0-based lines of the page headers and footers.
inline std::set<int32_t> pageMarkLines(const RfcText& text)
{
    std::set<int32_t> lines;
    for (const PageMark& mark : text.pageMarks)
        lines.insert(mark.line - 1);
    return lines;
}

// The 0-based lines where no citation is looked for: page headers and
// footers, and the contents, whose lines link to their sections.
inline std::set<int32_t> linesWithoutCitations(const RfcText& text)
{
    std::set<int32_t> skipped = pageMarkLines(text);
    for (const ContentEntry& entry : text.contents) {
        for (int32_t line = entry.firstLine; entry.firstLine > 0 && line <= entry.lastLine; ++line)
            skipped.insert(line - 1);
    }
    return skipped;
}

// Calls `found(line, open, close)` for every "[label]" of `labels` on the
// lines from the title on, outside `skipped` (0-based lines; columns of the
// brackets).
inline void forEachBracketedLabel(const PrintedRfc& rfc, const std::set<std::string>& labels,
                                  const std::set<int32_t>& skipped,
                                  const std::function<void(int32_t, std::size_t, std::size_t)>& found)
{
    const auto count = static_cast<int32_t>(rfc.lines.size());
    for (int32_t index = std::max(rfc.analysed.text.titleLine - 1, 0); index < count; ++index) {
        const std::string& line = rfc.lines[static_cast<std::size_t>(index)];
        for (std::size_t open = line.find('['); open != std::string::npos && skipped.count(index) == 0;
             open = line.find('[', open + 1)) {
            const std::size_t close = line.find(']', open);
            if (close != std::string::npos && labels.count(line.substr(open, close + 1 - open)) != 0)
                found(index, open, close);
        }
    }
}

// A header opens with "RFC" or stands among the top lines of its page, under
// the form feed ("September 1981" / "Internet Protocol" in RFC 791).
inline bool isPageTopLine(const std::vector<std::string>& lines, int32_t number)
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
inline bool isFooterLike(const std::vector<std::string>& lines, int32_t number)
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

// The index of the line after the first that opens with `heading` at the
// margin (the end when there is none).
inline std::size_t lineAfterHeading(const std::vector<std::string>& lines, const std::string& heading)
{
    std::size_t i = 0;
    while (i < lines.size() && lines[i].compare(0, heading.size(), heading) != 0)
        ++i;
    return i + 1;
}

// The line numbers of the printed contents entries that carry a page
// number: the lines after the "Table of Contents" heading at the left
// margin, up to the first unindented line that is not a page header,
// footer or form feed.
inline std::vector<int32_t> printedEntryLines(const std::vector<std::string>& lines)
{
    std::vector<int32_t> entries;
    for (std::size_t i = lineAfterHeading(lines, "Table of Contents"); i < lines.size(); ++i) {
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
inline std::vector<int32_t> printedEntryFirstLines(const std::vector<std::string>& lines)
{
    const std::regex numbered(R"(( +)((\d+|[A-Z])(\.\d+)*\.|Appendix [A-Z]\.) +\S.*\n)");
    const std::regex indented(R"(( +)\S.*\n)");
    std::vector<std::pair<int32_t, std::smatch>> block;
    for (std::size_t i = lineAfterHeading(lines, "Table of Contents");
         i < lines.size() && (lines[i][0] == ' ' || lines[i] == "\n"); ++i) {
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
// the next heading at the left margin that is not numbered as a group of it
// ("13.2.1.  Related Protocols" under "13.2.  Informative References").
inline std::vector<std::pair<int32_t, std::string>> printedReferences(const std::vector<std::string>& lines)
{
    const std::regex heading(
        R"(((\d+|[A-Z])(\.\d+)*\.|Appendix [A-Z]\.)? *((Normative|Informative) +)?References *\n)");
    const std::regex label(R"( +(\[[^\]]+\]).*\n)");
    std::vector<std::pair<int32_t, std::string>> labels;
    bool inReferences = false;
    std::string groupNumber; // "13.2." of "13.2.  Informative References"
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        const bool inGroup = inReferences && !groupNumber.empty() && lines[i].rfind(groupNumber, 0) == 0
            && std::isdigit(static_cast<unsigned char>(lines[i][groupNumber.size()]));
        if (lines[i][0] != ' ' && lines[i] != "\n" && !inGroup) {
            inReferences = std::regex_match(lines[i], match, heading);
            groupNumber = inReferences ? match[1].str() : std::string();
        } else if (inReferences && std::regex_match(lines[i], match, label))
            labels.emplace_back(static_cast<int32_t>(i), match[1].str());
    }
    return labels;
}

// The (first line, label) of every reference the analysis found, to compare
// with the printed labels.
inline std::vector<std::pair<int32_t, std::string>> foundReferences(const RfcText& text)
{
    std::vector<std::pair<int32_t, std::string>> found;
    for (const ReferenceEntry& reference : text.references)
        found.emplace_back(reference.firstLine, reference.label);
    return found;
}

// The words of a text in order (outside page headers, footers and form
// feeds), where each stands, and the lines of the paragraphs that define the
// keywords ("... interpreted as described ..."), bounded by blank lines.
struct TextWords {
    std::vector<std::pair<int32_t, std::string>> words;
    std::map<std::pair<int32_t, int32_t>, std::size_t> wordAt;
    std::set<int32_t> boilerplate;
};

inline bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

inline TextWords wordsOf(const PrintedRfc& rfc)
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

} // namespace parchly::test

#endif
