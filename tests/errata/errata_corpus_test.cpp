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
            values.push_back(std::isdigit(static_cast<unsigned char>(part[0])) ? std::stoi(part)
                                                                               : 1000 + part[0]);
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

// One RFC of the corpus analysed, with its errata and their placements.
struct PlacedRfc {
    RfcText text;
    PlainText plain;
    std::size_t lineCount = 0;
    std::vector<Erratum> errata;
    std::vector<ErratumPlacement> placements;
};

// Every erratum of errata.json placed once in its analysed RFC, shared by
// the tests; empty when the corpus is absent.
class ErrataCorpus : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        rfcs = new std::vector<PlacedRfc>;
        const std::filesystem::path path = test::corpusFile("errata.json");
        if (path.empty())
            return;
        std::map<int32_t, std::vector<Erratum>> byRfc;
        for (Erratum& erratum : readErrataFile(path.string()).errata)
            byRfc[erratum.rfc].push_back(std::move(erratum));
        for (auto& [rfc, errata] : byRfc) {
            const std::filesystem::path file = test::corpusFile("rfc" + std::to_string(rfc) + ".txt");
            std::optional<LineReader> reader = file.empty() ? std::nullopt : LineReader::open(file.string());
            if (!reader)
                continue;
            PlacedRfc& placed = rfcs->emplace_back();
            analyseText(placed.text, &*reader, LimitsBlock(), AnalysisOptions());
            const TextLines lines = readTextLines(*reader, placed.text);
            placed.plain = plainTextOf(lines);
            placed.lineCount = lines.size();
            placed.errata = std::move(errata);
            placed.placements = placeErrata(placed.text, *reader, placed.errata);
        }
        printCounts();
    }
    static void TearDownTestSuite() { delete rfcs; }
    void SetUp() override
    {
        if (rfcs->empty())
            GTEST_SKIP() << "corpus file errata.json or its RFCs not found";
    }
    // The closing figures: how the errata were placed.
    static void printCounts()
    {
        std::map<PlacedBy, int> counts;
        for (const PlacedRfc& rfc : *rfcs) {
            for (const ErratumPlacement& placement : rfc.placements)
                ++counts[placement.placedBy];
        }
        std::cout << "errata placed by text " << counts[PlacedBy::Text] << ", by section "
                  << counts[PlacedBy::Section] << ", at the top " << counts[PlacedBy::Top] << "\n";
    }
    static std::vector<PlacedRfc>* rfcs;
};

std::vector<PlacedRfc>* ErrataCorpus::rfcs = nullptr;

// The section number a field names when it is a plain number ("4.1",
// "4.1."); empty otherwise.
std::string plainSectionNumber(const std::string& field)
{
    static const std::regex plainNumber("\\s*([0-9]+(\\.[0-9]+)*)\\.?\\s*");
    std::smatch number;
    return std::regex_match(field, number, plainNumber) ? number[1].str() : std::string();
}

TEST_F(ErrataCorpus, TextFoundOncePlacedAtExactlyItsLines)
{
    int checked = 0;
    for (const PlacedRfc& rfc : *rfcs) {
        for (std::size_t i = 0; i < rfc.errata.size(); ++i) {
            const auto only = onlyOccurrence(rfc.plain, withoutWhiteSpace(rfc.errata[i].originalText));
            if (!only)
                continue;
            ++checked;
            const ErratumPlacement& placement = rfc.placements[i];
            EXPECT_EQ(placedByName(placement.placedBy), std::string("text"))
                << "erratum " << rfc.errata[i].id;
            EXPECT_EQ(std::make_pair(placement.firstLine, placement.lastLine), *only)
                << "erratum " << rfc.errata[i].id;
        }
    }
    std::cout << checked << " errata with a text found once\n";
    EXPECT_GT(checked, 0);
}

TEST_F(ErrataCorpus, PlainSectionNumberPlacedInThatSection)
{
    int checked = 0;
    for (const PlacedRfc& rfc : *rfcs) {
        for (std::size_t i = 0; i < rfc.errata.size(); ++i) {
            const Erratum& erratum = rfc.errata[i];
            const std::string number = plainSectionNumber(erratum.section);
            // A text found once says where, whatever the section field says.
            if (number.empty() || sectionHeadingLine(rfc.text, number) == 0
                || onlyOccurrence(rfc.plain, withoutWhiteSpace(erratum.originalText)))
                continue;
            ++checked;
            const ErratumPlacement& placement = rfc.placements[i];
            EXPECT_TRUE(withinSection(rfc.text, placement.firstLine, number))
                << "erratum " << erratum.id << " (section " << number << ") placed at line "
                << placement.firstLine << " by " << placedByName(placement.placedBy);
        }
    }
    std::cout << checked << " more errata naming a section by number\n";
    EXPECT_GT(checked, 0);
}

TEST_F(ErrataCorpus, EveryPlacementLiesWithinItsRfc)
{
    for (const PlacedRfc& rfc : *rfcs) {
        for (std::size_t i = 0; i < rfc.errata.size(); ++i) {
            const ErratumPlacement& placement = rfc.placements[i];
            EXPECT_LE(0, placement.firstLine) << "erratum " << rfc.errata[i].id;
            EXPECT_LE(placement.firstLine, placement.lastLine) << "erratum " << rfc.errata[i].id;
            EXPECT_LT(std::size_t(placement.lastLine), rfc.lineCount) << "erratum " << rfc.errata[i].id;
        }
    }
}

} // namespace
} // namespace parchly
