// The RFC analysis: every line index points into the text, every line
// mapping round-trips, and a second analysis into the same record equals a
// fresh one.
//
// Input: one byte of options for the analysis that counts (bit 0 structure
// from text, bit 1 spaces near header and footer off, bit 2 references off;
// bits 3-5 the same for the analysis before it into the re-used record),
// then the earlier text, a 0xFF byte and the text analysed last; without
// the 0xFF byte both texts are the same.
#include "analysis/analyse.h"
#include "analysis/line_mapping.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace parchly;

AnalysisOptions optionsOf(unsigned bits)
{
    AnalysisOptions options;
    options.buildStructureFromText = bits & 1;
    options.disableSpacesNearHeaderAndFooter = bits & 2;
    options.disableReferenceAnalysis = bits & 4;
    return options;
}

auto fields(const ContentEntry& e)
{
    return std::tie(e.firstLine, e.lastLine, e.number, e.title, e.page, e.headingLine, e.matched);
}
auto fields(const SectionHeading& e)
{
    return std::tie(e.line, e.number, e.title);
}
auto fields(const PageMark& e)
{
    return std::tie(e.line, e.page, e.isHeader);
}
auto fields(const ReferenceEntry& e)
{
    return std::tie(e.rfc, e.firstLine, e.lastLine, e.linkLine, e.linkStart, e.linkEnd, e.label, e.title,
                    e.section);
}
auto fields(const CitationMark& e)
{
    return std::tie(e.line, e.startColumn, e.endColumn, e.reference);
}
auto fields(const AuthorEntry& e)
{
    return std::tie(e.name, e.organisation);
}
auto fields(const RfcIndexEntry& e)
{
    return std::tie(e.number, e.firstLine, e.lastLine, e.title);
}

template <typename Entry> bool sameEntries(const std::vector<Entry>& a, const std::vector<Entry>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fields(a[i]) != fields(b[i]))
            return false;
    }
    return true;
}

bool sameRecord(const RfcText& a, const RfcText& b)
{
    return std::tie(a.titleLine, a.title, a.pageEnds, a.linesBeforeHeader, a.linesFromFooter,
                    a.blankAfterHeader, a.blankBeforeFooter, a.pageEndsNoHeaders, a.pageEndsNoFooters,
                    a.pageEndsNoHeadersFooters, a.pageCount, a.isIndex, a.referencesWithoutTitles,
                    a.currentEntry, a.structureFromText, a.lineCount, a.groupLine, a.rfcNumber, a.category,
                    a.updates, a.obsoletes, a.day, a.month, a.year, a.headerLine, a.footerPrefix)
        == std::tie(b.titleLine, b.title, b.pageEnds, b.linesBeforeHeader, b.linesFromFooter,
                    b.blankAfterHeader, b.blankBeforeFooter, b.pageEndsNoHeaders, b.pageEndsNoFooters,
                    b.pageEndsNoHeadersFooters, b.pageCount, b.isIndex, b.referencesWithoutTitles,
                    b.currentEntry, b.structureFromText, b.lineCount, b.groupLine, b.rfcNumber, b.category,
                    b.updates, b.obsoletes, b.day, b.month, b.year, b.headerLine, b.footerPrefix)
        && sameEntries(a.contents, b.contents) && sameEntries(a.headings, b.headings)
        && sameEntries(a.pageMarks, b.pageMarks) && sameEntries(a.references, b.references)
        && sameEntries(a.citations, b.citations) && sameEntries(a.authors, b.authors)
        && sameEntries(a.indexEntries, b.indexEntries);
}

void checkIndexes(const RfcText& text, const std::vector<std::string>& lines)
{
    // An analysis that stops early has counted only the lines before.
    const auto lineCount = static_cast<int32_t>(lines.size());
    PARCHLY_CHECK(text.lineCount <= lineCount, "the analysis counts no line the text lacks");
    const auto isFileLine = [&](int32_t line) { return line >= 1 && line <= lineCount; };
    PARCHLY_CHECK(text.titleLine == 0 || isFileLine(text.titleLine), "the title line is in the text");
    for (const SectionHeading& heading : text.headings)
        PARCHLY_CHECK(isFileLine(heading.line), "a heading's line is in the text");
    for (const PageMark& mark : text.pageMarks)
        PARCHLY_CHECK(isFileLine(mark.line), "a page mark's line is in the text");
    for (const ContentEntry& entry : text.contents) {
        // Entries built from the headings have no table lines (0).
        PARCHLY_CHECK((entry.firstLine == 0 || isFileLine(entry.firstLine))
                          && (entry.lastLine == 0 || isFileLine(entry.lastLine)),
                      "a contents entry's lines are in the text");
        PARCHLY_CHECK(entry.headingLine == 0 || isFileLine(entry.headingLine),
                      "a contents entry's heading line is in the text");
    }
    for (const ReferenceEntry& reference : text.references) {
        PARCHLY_CHECK(reference.firstLine >= 0 && reference.firstLine <= reference.lastLine
                          && reference.lastLine < lineCount,
                      "a reference's lines are in the text");
        if (reference.linkEnd > reference.linkStart) {
            PARCHLY_CHECK(reference.linkLine >= 0 && reference.linkLine < lineCount,
                          "a reference's link line is in the text");
            PARCHLY_CHECK(reference.linkStart >= 0
                              && static_cast<std::size_t>(reference.linkEnd)
                                  <= lines[reference.linkLine].size(),
                          "a reference's link lies in its line");
        }
    }
    for (const CitationMark& citation : text.citations) {
        PARCHLY_CHECK(citation.line >= 0 && citation.line < lineCount, "a citation's line is in the text");
        PARCHLY_CHECK(citation.startColumn >= 0 && citation.startColumn < citation.endColumn
                          && static_cast<std::size_t>(citation.endColumn) <= lines[citation.line].size(),
                      "a citation lies in its line");
        PARCHLY_CHECK(citation.reference >= 0
                          && static_cast<std::size_t>(citation.reference) < text.references.size(),
                      "a citation names a reference");
    }
}

// In every cut state: each shown file line comes back from its shown line,
// a hidden one shows as a shown line, the file-to-shown mapping never goes
// backwards and the shown-to-file one always goes forwards
// (regressions/analysis/line-mapping-short-page once mapped backwards).
void checkLineMapping(const RfcText& text)
{
    for (unsigned state = 0; state < 8; ++state) {
        const LineCuts cuts{(state & 1) != 0, (state & 2) != 0, (state & 4) != 0};
        const std::vector<LineRange> hidden = hiddenLines(text, cuts);
        std::vector<bool> shown(static_cast<std::size_t>(std::max(text.lineCount, 0)), true);
        int32_t shownCount = text.lineCount;
        for (const LineRange& range : hidden) {
            PARCHLY_CHECK(range.first >= 0 && range.first < range.end && range.end <= text.lineCount,
                          "hidden lines are lines of the text");
            for (int32_t index = range.first; index < range.end; ++index)
                shown[static_cast<std::size_t>(index)] = false;
            shownCount -= range.end - range.first;
        }
        ShownLine previous = ShownLine::atIndex(-1);
        for (int32_t index = 0; index < text.lineCount; ++index) {
            const FileLine line = FileLine::atIndex(index);
            const ShownLine display = shownLineOf(text, cuts, line);
            PARCHLY_CHECK(display >= previous, "the file-to-shown mapping never goes backwards");
            previous = display;
            if (shown[static_cast<std::size_t>(index)])
                PARCHLY_CHECK(fileLineOf(text, cuts, display) == line, "a shown file line comes back");
            else
                PARCHLY_CHECK(shownLineOf(text, cuts, fileLineOf(text, cuts, display)) == display,
                              "a hidden line shows as a shown line");
        }
        FileLine before = FileLine::atIndex(-1);
        for (int32_t index = 0; index < shownCount; ++index) {
            const FileLine line = fileLineOf(text, cuts, ShownLine::atIndex(index));
            PARCHLY_CHECK(line.index() >= 0 && line.index() < text.lineCount
                              && shown[static_cast<std::size_t>(line.index())],
                          "a shown line shows a line that is not hidden");
            PARCHLY_CHECK(line > before, "the shown-to-file mapping always goes forwards");
            before = line;
        }
    }
}

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    LineReader reader(bytes);
    for (std::string line; reader.readLine(line);)
        lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    const unsigned bits = data[0];
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string::size_type split = body.find('\xFF');
    const std::string earlier = body.substr(0, split);
    const std::string last = split == std::string::npos ? body : body.substr(split + 1);
    const LimitsBlock limits;

    RfcText fresh;
    LineReader file(last);
    analyseText(fresh, &file, limits, optionsOf(bits));
    checkIndexes(fresh, linesOf(last));
    checkLineMapping(fresh);

    // A second analysis into a used record must not keep what the first
    // found (regressions/analysis/reused-record-* once showed it did).
    RfcText reused;
    LineReader earlierFile(earlier);
    analyseText(reused, &earlierFile, limits, optionsOf(bits >> 3));
    LineReader lastFile(last);
    analyseText(reused, &lastFile, limits, optionsOf(bits));
    PARCHLY_CHECK(sameRecord(reused, fresh), "a second analysis into a used record equals a fresh one");
    return 0;
}
