// The requirement sentences of an RFC: every upper-case requirement keyword
// of RFC 2119 and RFC 8174 and the sentence that holds it.
#ifndef PARCHLY_ANALYSIS_REQUIREMENTS_H
#define PARCHLY_ANALYSIS_REQUIREMENTS_H

#include "analysis/line_cues.h"
#include "analysis/rfc_text.h"
#include "analysis/text_lines.h"

#include <array>
#include <cstdint>
#include <vector>

namespace parchly {

// The keywords, longest forms first within each family.
inline constexpr std::array<const char*, 11> kRequirementKeywords = {
    "MUST NOT",        "MUST",        "REQUIRED", "SHALL NOT", "SHALL", "SHOULD NOT", "SHOULD",
    "NOT RECOMMENDED", "RECOMMENDED", "MAY",      "OPTIONAL"};

// Fills `text.requirements` in text order, one entry per keyword: "MUST NOT"
// is one keyword, also split over a line end, and "NOT" alone is none.
// Sentences run over line ends and page breaks, page headers and footers
// left out. Left out too: the paragraph that defines the keywords ("The key
// words ... are to be interpreted as described in ...") and the references
// sections, whose entries' titles may hold them in capitals.
// Needs `sectionAnchors`; `cues` are the lines' cues (line_cues.h), and
// only a paragraph with a line that holds a keyword is read.
void findRequirements(RfcText& text, const TextLines& lines, const LineCues& cues);

} // namespace parchly

#endif
