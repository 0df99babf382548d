// Helpers of the analysis tests that use the record from C++: the golden
// inputs, the analysis of bytes, the lines as every pass reads them, and
// whether two analyses gave the same record.
#ifndef PARCHLY_TESTS_ANALYSIS_ANALYSIS_SUPPORT_H
#define PARCHLY_TESTS_ANALYSIS_ANALYSIS_SUPPORT_H

#include "analysis/analyse.h"
#include "analysis/line_mapping.h"
#include "dumps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace parchly::test {

// The bytes of an input of tests/analysis/golden.
inline std::string goldenBytes(const std::string& name)
{
    std::ifstream in(std::string(PARCHLY_SOURCE_DIR) + "/tests/analysis/golden/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Analysed {
    RfcText text;
    bool ok = false;
};

inline Analysed analyseBytes(const std::string& bytes, const AnalysisOptions& options = {})
{
    Analysed result;
    LineReader reader(bytes);
    result.ok = analyseText(result.text, &reader, LimitsBlock(), options);
    return result;
}

// The lines of a text as every pass reads them (long lines in pieces).
inline std::vector<std::string> readerLines(const std::string& rawBytes)
{
    LineReader reader(rawBytes);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

// In every hide state, every shown line comes back from its file line,
// except that a shown page boundary maps to the file line that ends its page,
// which the way back may count on the next page.
// The shown line of the file's line `number` (both counted from 1, as the
// tables of the tests and the status bar count them).
inline ShownLine shownOfNumber(const RfcText& text, const LineCuts& cuts, int32_t number)
{
    return shownLineOf(text, cuts, FileLine::atNumber(number));
}

inline void expectShownLinesRoundTrip(const RfcText& text, bool alsoHidingBlankLines = true)
{
    for (int state = 1; state < 8; ++state) {
        const LineCuts cuts{(state & 1) != 0, (state & 2) != 0, (state & 4) != 0};
        if (cuts.blankLines && !alsoHidingBlankLines)
            continue;
        const std::vector<int32_t>& ends = shownPageEnds(text, cuts);
        const ShownLine lastShown = shownOfNumber(text, cuts, text.lineCount);
        int failures = 0;
        for (ShownLine shown; shown <= lastShown && failures < 5; shown = shown.next()) {
            const ShownLine back = shownLineOf(text, cuts, fileLineOf(text, cuts, shown));
            // A boundary's number, as the page tables hold it, is the index
            // of the line below it.
            const bool boundary = std::find(ends.begin(), ends.end(), shown.number()) != ends.end();
            if (back != shown && !(boundary && back == shown.next())) {
                ++failures;
                ADD_FAILURE() << "hide state " << state << ": line " << shown.number() << " comes back as "
                              << back.number();
            }
        }
    }
}

// A record as parchly-analyse dumps it, so that a failure shows the fields
// that differ, with the few fields the dump leaves out.
inline Json fullRecord(const RfcText& text)
{
    Json json = rfcRecord(text);
    json["isIndex"] = text.isIndex;
    json["currentEntry"] = text.currentEntry;
    for (const ReferenceEntry& reference : text.references)
        json["referenceLinks"].push_back({reference.linkLine, reference.linkStart, reference.linkEnd});
    for (const RfcIndexEntry& entry : text.indexEntries)
        json["indexEntries"].push_back(
            {entry.number, entry.firstLine, entry.lastLine, jsonText(entry.title)});
    return json;
}

inline void expectSameAnalysis(const RfcText& a, const RfcText& b)
{
    EXPECT_EQ(fullRecord(a).dump(1), fullRecord(b).dump(1));
}

} // namespace parchly::test

#endif
