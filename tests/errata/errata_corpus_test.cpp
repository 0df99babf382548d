// The errata of the shared corpus (errata.json beside the RFCs) placed in
// their RFCs: where the original text occurs once, at exactly its lines;
// where the section field is a plain number the RFC has, in that section.
// Skips when the corpus is absent.
#include "analysis/errata_placement.h"
#include "analysis/section_anchors.h"
#include "errata/errata_catalogue.h"
#include "errata/errata_file.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <optional>
#include <regex>

#include "analysis/analyse.h"

namespace parchly {
namespace {

std::string withoutWhiteSpace(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += c;
    }
    return out;
}

// The text lines of an RFC (no page headers, footers or blank lines)
// without white space, and the file line of each character: the plainest
// reading of "the original text occurs in the RFC".
struct PlainText {
    std::string characters;
    std::vector<int32_t> lineOf;
};

PlainText plainTextOf(const TextLines& lines)
{
    PlainText plain;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines.roles[i] != LineRole::Text)
            continue;
        plain.characters += withoutWhiteSpace(lines.line(i));
        plain.lineOf.resize(plain.characters.size(), static_cast<int32_t>(i));
    }
    return plain;
}

// Where `wanted` occurs exactly once, its first and last line.
std::optional<std::pair<int32_t, int32_t>> onlyOccurrence(const PlainText& plain, const std::string& wanted)
{
    if (wanted.empty())
        return std::nullopt;
    const std::size_t at = plain.characters.find(wanted);
    if (at == std::string::npos || plain.characters.find(wanted, at + 1) != std::string::npos)
        return std::nullopt;
    return std::make_pair(plain.lineOf[at], plain.lineOf[at + wanted.size() - 1]);
}

// Whether file line `fileLine` lies in section `number`: after its heading,
// with no heading of a later section between them. Old RFCs give some
// running headers and numbered list items the look of headings; those
// neither open nor close a section.
bool withinSection(const RfcText& text, int32_t fileLine, const std::string& number)
{
    const int32_t heading = sectionHeadingLine(text, number);
    if (heading <= 0 || fileLine + 1 < heading)
        return false;
    const auto parts = [](const std::string& dotted) {
        std::vector<int> values;
        std::size_t at = 0;
        while (at < dotted.size()) {
            const std::size_t end = std::min(dotted.find('.', at), dotted.size());
            const std::string part = dotted.substr(at, end - at);
            values.push_back(std::isdigit(static_cast<unsigned char>(part[0])) ? std::stoi(part) : 1000 + part[0]);
            at = end + 1;
        }
        return values;
    };
    // Where the contents locate the sections, the next one of them that is
    // not inside this one ends it.
    bool located = false;
    for (const ContentEntry& entry : text.contents) {
        if (!entry.matched || entry.headingLine <= 0)
            continue;
        located = true;
        std::string at = entry.number;
        while (!at.empty() && at.back() == '.')
            at.pop_back();
        if (entry.headingLine > heading && entry.headingLine <= fileLine + 1 && at != number
            && at.rfind(number + ".", 0) != 0 && parts(at) > parts(number))
            return false;
    }
    for (const SectionAnchor& anchor : text.sectionAnchors) {
        if (anchor.line <= heading || anchor.line > fileLine + 1 || anchor.number.empty())
            continue;
        if (anchor.number.rfind(number + ".", 0) == 0 || anchor.number == number)
            continue;
        // Beside located contents only a sub-section heading they leave
        // out counts; a top-level number they lack is a figure's line.
        if (located && anchor.number.find('.') == std::string::npos)
            continue;
        if (parts(anchor.number) > parts(number))
            return false;
    }
    return true;
}

TEST(ErrataCorpus, PlacedAtTheirTextOrInTheirSection)
{
    PARCHLY_REQUIRE_CORPUS_FILE(path, "errata.json");
    const ErrataLoad load = readErrataFile(path.string());
    ASSERT_TRUE(load.complete()) << load.error;
    std::map<int32_t, std::vector<Erratum>> byRfc;
    for (const Erratum& erratum : load.errata)
        byRfc[erratum.rfc].push_back(erratum);

    const std::regex plainNumber("\\s*([0-9]+(\\.[0-9]+)*)\\.?\\s*");
    std::map<PlacedBy, int> counts;
    int uniqueTexts = 0;
    int plainSections = 0;
    int absentRfcs = 0;
    for (const auto& [rfc, errata] : byRfc) {
        const std::filesystem::path file = test::corpusFile("rfc" + std::to_string(rfc) + ".txt");
        if (file.empty()) {
            absentRfcs += static_cast<int>(errata.size());
            continue;
        }
        std::optional<LineReader> reader = LineReader::open(file.string());
        ASSERT_TRUE(reader);
        RfcText text;
        analyseText(text, &*reader, LimitsBlock(), AnalysisOptions());
        const TextLines lines = readTextLines(*reader, text);
        const PlainText plain = plainTextOf(lines);
        const ErrataPlacer placer(text, lines);
        for (const Erratum& erratum : errata) {
            const ErratumPlacement placement = placer.place(erratum);
            ++counts[placement.placedBy];
            const auto only = onlyOccurrence(plain, withoutWhiteSpace(erratum.originalText));
            if (only) {
                ++uniqueTexts;
                EXPECT_EQ(placedByName(placement.placedBy), std::string("text")) << "erratum " << erratum.id;
                EXPECT_EQ(placement.firstLine, only->first) << "erratum " << erratum.id;
                EXPECT_EQ(placement.lastLine, only->second) << "erratum " << erratum.id;
                continue; // the text says where, whatever the section field says
            }
            std::smatch number;
            if (!std::regex_match(erratum.section, number, plainNumber)
                || sectionHeadingLine(text, number[1]) == 0)
                continue;
            ++plainSections;
            EXPECT_TRUE(withinSection(text, placement.firstLine, number[1]))
                << "erratum " << erratum.id << " of RFC " << rfc << " (section " << number[1]
                << ") placed at line " << placement.firstLine << " by " << placedByName(placement.placedBy);
        }
    }
    std::cout << "errata placed by text " << counts[PlacedBy::Text] << ", by section "
              << counts[PlacedBy::Section] << ", at the top " << counts[PlacedBy::Top] << "; " << uniqueTexts
              << " with a text found once, " << plainSections << " more naming a section by number; "
              << absentRfcs << " of RFCs not in the corpus\n";
    EXPECT_GT(uniqueTexts, 0);
}

} // namespace
} // namespace parchly
