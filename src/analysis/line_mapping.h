// Conversions between the lines of the file and the lines shown while page
// headers and/or footers are cut out of the view, so that the analysis
// records stay valid whatever is hidden.
#ifndef PARCHLY_ANALYSIS_LINE_MAPPING_H
#define PARCHLY_ANALYSIS_LINE_MAPPING_H

#include "analysis/line_number.h"
#include "analysis/rfc_text.h"

#include <cstdint>
#include <vector>

namespace parchly {

// What the reading view cuts out of the file's text. It belongs to the view,
// not to the analysis: a new analysis of the same text keeps it, and one
// record serves views that cut differently.
struct LineCuts {
    bool headers = false;
    bool footers = false;
    // The blank lines next to each cut header, as the analysis counted them
    // (AnalysisOptions::disableSpacesNearHeaderAndFooter).
    bool blankLines = false;

    bool operator==(const LineCuts& other) const
    {
        return headers == other.headers && footers == other.footers && blankLines == other.blankLines;
    }
};

// Lines [first, end), 0-based.
struct LineRange {
    int32_t first = 0;
    int32_t end = 0;

    bool operator==(const LineRange& other) const { return first == other.first && end == other.end; }
};

// The file lines that `cuts` hide, in order and apart. Each page loses its
// header from the line after the form feed that begins it and its footer up
// to the form feed that ends it; the form feeds stay. A page shorter than
// its header and footer loses each of its lines once, its form feed never.
// Nothing for the index or a file without page breaks.
std::vector<LineRange> hiddenLines(const RfcText& text, const LineCuts& cuts);

// The shown line of file line `line` under `cuts`: it counts the shown lines
// up to it. A hidden header or footer line gives its page's form-feed line.
// Unchanged for the index, when nothing is hidden, or without page breaks.
ShownLine shownLineOf(const RfcText& text, const LineCuts& cuts, FileLine line);

// The file line shown at line `line`; the inverse of shownLineOf for every
// line that is shown.
FileLine fileLineOf(const RfcText& text, const LineCuts& cuts, ShownLine line);

// The first line shown at or after file line `line`: the line itself when it
// is shown, else the line shown after the hidden run that holds it (a page's
// first line under a cut header is the first line of its text).
ShownLine firstShownLineFrom(const RfcText& text, const LineCuts& cuts, FileLine line);

// The shown page boundaries under `cuts`: pageEnds with each form-feed line
// where it is shown (0-based).
std::vector<int32_t> shownPageEnds(const RfcText& text, const LineCuts& cuts);

} // namespace parchly

#endif
