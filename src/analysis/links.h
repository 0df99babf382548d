// The links of an RFC's text: every bracketed citation that names a
// reference, every RFC number, every series number (BCP, STD, FYI) and
// every section named with a number, in this document or in another RFC.
#ifndef PARCHLY_ANALYSIS_LINKS_H
#define PARCHLY_ANALYSIS_LINKS_H

#include "analysis/line_cues.h"
#include "analysis/reference_labels.h"
#include "analysis/rfc_text.h"
#include "analysis/text_lines.h"

#include <cstdint>
#include <vector>

namespace parchly {

// Fills `text.links` in line and column order, one line per link: a phrase
// split over a line end gives a link on each line that holds a number
// ("Section" at a line end and "3.2" on the next: the "3.2" alone; a
// citation wrapped there, "[Postel" and "81]", gives one on each). Needs
// `references` and `sectionAnchors`. Page headers and footers, the contents
// (whose lines are links of their own) and the reference labels themselves
// are left out; in the front matter only the RFC numbers of "Obsoletes:"
// and "Updates:" (and their continuation lines) and "BCP:", "STD:", "FYI:"
// are links. `cues` are the lines' cues (line_cues.h); only the lines with
// a word that starts a link, and the line after each, are read. With
// LinkScope::Citations only the citations are found (and sectionAnchors
// are not needed); with LinkScope::None, none, and `labels` (those of
// `text.references`, which the citations are looked up in) may be null.
void findLinks(RfcText& text, const TextLines& lines, const LineCues& cues, LinkScope scope,
               const ReferenceLabels* labels);

// The link at byte `column` of 0-based line `line`, or null.
const LinkMark* linkAt(const RfcText& text, int32_t line, int32_t column);

// "citation", "rfc", "series" or "section".
const char* linkKindName(LinkKind kind);

} // namespace parchly

#endif
