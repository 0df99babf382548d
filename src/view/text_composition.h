// The reading view's text composed as plain data from the analysis record,
// the shown lines and what is cut, so that it can be checked without
// widgets: which runs take which category's format, which lines a cut takes
// away and where the page separators go. The reading view applies the
// result to its text control.
#ifndef PARCHLY_VIEW_TEXT_COMPOSITION_H
#define PARCHLY_VIEW_TEXT_COMPOSITION_H

#include "analysis/line_mapping.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace parchly {

class RfcIndexStatus;
struct RfcSettings;
struct RfcText;

// The text as the control shows it: its lines joined by '\n' (one string,
// not one per line: a long RFC has tens of thousands of lines and the
// composition reads only a few of them) and the file lines, sorted, that
// were decoded byte for byte (Latin-1).
struct ShownText {
    QString text;
    std::vector<int32_t> latin1Lines;
};

// How a run's underline relates to its category's format.
enum class Underline {
    AsConfigured, // the category's format as it is
    Added, // underlined: a link
    Untouched, // the format without its underline: the text keeps its own
};

// Characters [start, end) of the shown text, counted as the control counts
// them (each line end is one character), in the format of `category`.
struct FormatRun {
    int start = 0;
    int end = 0;
    int category = 0;
    Underline underline = Underline::AsConfigured;

    bool operator==(const FormatRun& other) const
    {
        return start == other.start && end == other.end && category == other.category
            && underline == other.underline;
    }
};

// Where the RFC number that reference `reference` names stands: shown line
// and character columns [start, end).
struct ReferenceNumberPlace {
    std::size_t reference = 0;
    int line = 0;
    int start = 0;
    int end = 0;
};

struct ComposedFormats {
    // In the order they are merged: a later run wins over an earlier one.
    std::vector<FormatRun> runs;
    std::vector<ReferenceNumberPlace> referenceNumbers;
};

// The formats by category of the shown text: the title and the front-matter
// headings as subtitles, headers and footers, reference labels, the RFC
// numbers of the references, every link that leads somewhere (`index`, when
// there is one, says which series do), the contents entries (links unless
// `settings` turn them off), the body headings they lead to and the
// requirement keywords.
ComposedFormats composeFormats(const RfcText& text, const LineCuts& cuts, const ShownText& shown,
                               const RfcSettings& settings, const RfcIndexStatus* index = nullptr);

// The shown lines (under `from`) that cutting to `to` takes away, last
// first, so that removing them one after the other keeps the earlier ones
// in place. Putting lines back is not a cut: it needs the file again.
std::vector<LineRange> linesToCut(const RfcText& text, const LineCuts& from, const LineCuts& to);

// A page separator written at the start of a shown line.
struct SeparatorPlace {
    int line = 0;
    QString text;
};

// One separator on each shown page boundary (the form-feed line) under
// `cuts`, in order; none for the index or a text without page breaks.
std::vector<SeparatorPlace> separatorPlaces(const RfcText& text, const LineCuts& cuts);

} // namespace parchly

#endif
