// Links across RFCs: each shape over a fixture of our own, the shapes that
// must not become links, and the corpus against simple scans of its lines.
#include "analysis_support.h"
#include "corpus_rfcs.h"

#include "analysis/links.h"
#include "analysis/section_anchors.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <regex>
#include <set>

namespace parchly {
namespace {

std::string lineText(const std::vector<std::string>& lines, int32_t index)
{
    std::string line = lines.at(static_cast<std::size_t>(index));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// A link as the table writes it: kind, text, and its target.
std::string describe(const LinkMark& link, const std::vector<std::string>& lines)
{
    const std::string text = lineText(lines, link.line)
                                 .substr(static_cast<std::size_t>(link.startColumn),
                                         static_cast<std::size_t>(link.endColumn - link.startColumn));
    switch (link.kind) {
    case LinkKind::Citation:
        return "cite" + text + "=" + std::to_string(link.targetRfc);
    case LinkKind::Rfc:
        return "rfc'" + text + "'=" + std::to_string(link.targetRfc);
    case LinkKind::Series:
        return "series'" + text + "'=" + link.series + std::to_string(link.seriesNumber);
    case LinkKind::Section:
        if (link.targetRfc != 0)
            return "sec'" + text + "'=" + std::to_string(link.targetRfc) + ":" + link.targetSection;
        const std::string target = lineText(lines, link.targetLine - 1);
        return "sec'" + text + "'>" + target.substr(0, target.find(' '));
    }
    return "";
}

TEST(Links, EveryShapeAndWhatIsNoLink)
{
    const std::string bytes = test::fixtureBytes("links/rfc9995.txt");
    const auto result = test::analyseBytes(bytes);
    ASSERT_TRUE(result.ok);
    const std::vector<std::string> lines = test::readerLines(bytes);
    // The first line holding the marker, and all the links on it.
    const std::vector<std::pair<std::string, std::string>> table = {
        {"Obsoletes:", "rfc'2818'=2818 rfc'7230'=7230 rfc'7231'=7231"},
        {"7538, 7615", "rfc'7538'=7538 rfc'7615'=7615"}, // the list's continuation line
        {"Updates:", "rfc'3864'=3864"},
        {"STD: 97", "series'STD: 97'=STD97"},
        {"BCP: 14", "series'BCP: 14'=BCP14"},
        {"ISSN:", ""},
        {"This document updates", "rfc'RFC 3864'=3864"},
        {"BCP 14 [RFC2119]", "series'BCP 14'=BCP14 cite[RFC2119]=2119 cite[RFC8174]=8174"},
        {"C01", "cite[RFC6066]=6066 cite[RFC6961]=6961"},
        {"C02", "cite[2]=2 cite[3]=854 cite2=2 cite3=854"},
        {"C03", "citeRFC9110=9110 sec'Section 3.2'=9110:3.2 cite[RFC2119]=2119 cite[RFC8174]=8174"},
        {"R01", "rfc'RFC 1234'=1234 rfc'RFC1235'=1235 rfc'RFC 7230'=7230 rfc'RFC 7231'=7231"},
        {"R02", "rfc'RFCs 2818'=2818 rfc'7230'=7230 rfc'RFCs 2045'=2045 rfc'2046'=2046 rfc'RFC 2047'=2047"},
        {"S01", "series'BCP 14'=BCP14 series'STD 97'=STD97 series'FYI 36'=FYI36"},
        // "Section" at the line end: the number on the next line is the link.
        {"L01", "sec'Section 2.1'>2.1. sec'Sections 2'>2. sec'3'>3. sec'Appendix A.1'>A.1."},
        {"2.1 of this document", "sec'2.1'>2.1."},
        {"X01", "sec'Section 3.2'=9110:3.2 rfc'RFC 9110'=9110 rfc'RFC 9110'=9110 sec'Section 8.3'=9110:8.3"},
        {"X02",
         "cite[RFC9110]=9110 sec'Section 4'=9110:4 sec'Section 5.1'=9110:5.1 cite[HTTP]=9110 "
         "sec'Section 2'=9110:2"},
        {"of [RFC9110].", "cite[RFC9110]=9110"},
        // Must not: "RFC-Editor", "RFC Editor", "section" without a number.
        {"N01", ""},
        // Must not: a section of a document that is no RFC, nor of this one.
        {"N02", "cite[TLS-DOC]=0"},
        // Must not: a URL, a section this document lacks, a DOI.
        {"N03", ""},
        {"10.17487/RFC9110", ""},
        {"DOI 10.17487/RFC2119", ""},
        // Must not: a reference's own label, a heading's own number.
        {"[RFC2119]  Bradner", ""},
        {"Appendix A.  Example", ""},
    };
    for (const auto& [marker, expected] : table) {
        std::size_t index = 0;
        while (index < lines.size() && lines[index].find(marker) == std::string::npos)
            ++index;
        ASSERT_LT(index, lines.size()) << marker;
        std::string found;
        for (const LinkMark& link : result.text.links) {
            if (link.line == static_cast<int32_t>(index))
                found += (found.empty() ? "" : " ") + describe(link, lines);
        }
        EXPECT_EQ(found, expected) << marker;
    }
}

TEST(Links, LinkAtAColumn)
{
    const std::string bytes = test::fixtureBytes("links/rfc9995.txt");
    const auto result = test::analyseBytes(bytes);
    const std::vector<std::string> lines = test::readerLines(bytes);
    std::size_t index = 0;
    while (lines[index].find("X01") == std::string::npos)
        ++index;
    const auto column = [&](const char* text) { return static_cast<int32_t>(lines[index].find(text)); };
    const LinkMark* section = linkAt(result.text, static_cast<int32_t>(index), column("3.2"));
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->targetSection, "3.2");
    EXPECT_EQ(linkAt(result.text, static_cast<int32_t>(index), column(" of ")), nullptr);
}

// Lines of brackets without an end and a paragraph of keywords without a
// sentence end are read in linear time: quadratic work here takes minutes,
// which the CTest timeout catches (a timed check fails on a busy machine or
// under the sanitizers, where the linear work alone takes seconds).
TEST(Links, BracketsAndKeywordsInBulkStayLinear)
{
    std::string bytes = "Request for Comments: 5\n\nTitle\n\n";
    for (int i = 0; i < 2000; ++i)
        bytes += "   " + std::string(1000, '[') + "\n";
    bytes += "\n";
    for (int i = 0; i < 20000; ++i)
        bytes += "   MUST Section 1 of RFC 1 MUST, MUST\n";
    const auto result = test::analyseBytes(bytes);
    EXPECT_EQ(result.text.requirements.size(), 60000u);
    EXPECT_EQ(result.text.links.size(), 40000u);
}

// Every bracket pair of every line that names a reference (not the
// reference's own label, not in the contents, the front matter or a page
// header or footer) is a citation link at its columns.
TEST(LinksCorpus, EveryCitationOfEveryLine)
{
    const std::vector<test::CorpusRfc> rfcs = test::corpusRfcs();
    if (rfcs.empty())
        GTEST_SKIP() << "no RFCs in the corpus";
    int expected = 0;
    int found = 0;
    for (const test::CorpusRfc& rfc : rfcs) {
        SCOPED_TRACE(rfc.name);
        const auto result = test::analyseBytes(rfc.bytes);
        const RfcText& text = result.text;
        const std::vector<std::string> lines = test::readerLines(rfc.bytes);
        std::set<std::string> labels;
        std::set<int32_t> definitions;
        for (const ReferenceEntry& reference : text.references) {
            labels.insert(reference.label);
            definitions.insert(reference.firstLine);
        }
        std::set<int32_t> skipped;
        for (const PageMark& mark : text.pageMarks)
            skipped.insert(mark.line - 1);
        for (const ContentEntry& entry : text.contents) {
            for (int32_t line = entry.firstLine; entry.firstLine > 0 && line <= entry.lastLine; ++line)
                skipped.insert(line - 1);
        }
        std::set<std::tuple<int32_t, int32_t, int32_t>> citations;
        for (const LinkMark& link : text.links) {
            if (link.kind == LinkKind::Citation)
                citations.insert({link.line, link.startColumn, link.endColumn});
        }
        for (int32_t index = std::max(text.titleLine - 1, 0); index < static_cast<int32_t>(lines.size());
             ++index) {
            const std::string& line = lines[static_cast<std::size_t>(index)];
            if (skipped.count(index) != 0)
                continue;
            for (std::size_t open = line.find('['); open != std::string::npos;
                 open = line.find('[', open + 1)) {
                const std::size_t close = line.find(']', open);
                const bool definition =
                    definitions.count(index) != 0 && line.find_first_not_of(" \t") == open;
                if (close == std::string::npos || definition
                    || labels.count(line.substr(open, close + 1 - open)) == 0)
                    continue;
                ++expected;
                const bool cited =
                    citations.count({index, static_cast<int32_t>(open), static_cast<int32_t>(close + 1)})
                    != 0;
                found += cited ? 1 : 0;
                EXPECT_TRUE(cited) << "line " << index + 1 << ": " << line;
            }
        }
    }
    std::cout << "citations: " << found << " of " << expected << " found by the simple scan\n";
}

// Every "Section N of RFC M" or "of [RFCM]" on one line of these RFCs is a
// section link
// into RFC M, and resolves to a located heading when RFC M is in the
// corpus; so do the other section links into RFCs of the corpus.
TEST(LinksCorpus, SectionsOfOtherRfcsResolve)
{
    std::map<int32_t, RfcText> targets;
    for (test::CorpusRfc& rfc : test::corpusRfcs())
        targets.emplace(rfc.number, test::analyseBytes(rfc.bytes).text);
    if (targets.empty())
        GTEST_SKIP() << "no RFCs in the corpus";
    const std::regex phrase(R"(Section (\d+(\.\d+)*) of (RFC ?|\[RFC)(\d+))");
    for (const int32_t number : {9110, 9293, 8446}) {
        const auto source = targets.find(number);
        if (source == targets.end())
            continue;
        const RfcText& text = source->second;
        const std::vector<std::string> lines =
            test::readerLines(test::fileBytes(test::corpusFile("rfc" + std::to_string(number) + ".txt")));
        int phrases = 0;
        int linked = 0;
        for (std::size_t index = 0; index < lines.size(); ++index) {
            for (std::sregex_iterator match(lines[index].begin(), lines[index].end(), phrase), end;
                 match != end; ++match) {
                ++phrases;
                const int32_t column = static_cast<int32_t>(match->position(0));
                const LinkMark* link = linkAt(text, static_cast<int32_t>(index), column);
                const bool ok = link != nullptr && link->kind == LinkKind::Section
                    && link->targetSection == (*match)[1].str()
                    && link->targetRfc == std::stoi((*match)[4].str());
                linked += ok ? 1 : 0;
                EXPECT_TRUE(ok) << "rfc" << number << " line " << index + 1 << ": " << match->str();
            }
        }
        std::cout << "rfc" << number << ": " << linked << " of " << phrases
                  << " \"Section N of RFC M\" or \"of [RFCM]\" linked\n";
    }
    int inCorpus = 0;
    int resolved = 0;
    for (const auto& [number, text] : targets) {
        for (const LinkMark& link : text.links) {
            const auto target = targets.find(link.targetRfc);
            if (link.kind != LinkKind::Section || link.targetRfc == 0 || target == targets.end())
                continue;
            ++inCorpus;
            const bool found = sectionHeadingLine(target->second, link.targetSection) > 0;
            resolved += found ? 1 : 0;
            EXPECT_TRUE(found) << "rfc" << number << " line " << link.line + 1 << ": Section "
                               << link.targetSection << " of RFC " << link.targetRfc;
        }
    }
    std::cout << resolved << " of " << inCorpus << " section links into RFCs of the corpus resolved\n";
}

} // namespace
} // namespace parchly
