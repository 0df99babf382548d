// The headings a section link or a requirement can be placed under: the
// located contents entries, the headings list (but beside a structure
// built from the text, where it holds only paragraphs passed over), and
// the unindented numbered lines of the body that neither holds.
#ifndef PARCHLY_ANALYSIS_SECTION_ANCHORS_H
#define PARCHLY_ANALYSIS_SECTION_ANCHORS_H

#include "analysis/rfc_text.h"
#include "analysis/text_lines.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parchly {

// Fills `text.sectionAnchors`, in line order, one anchor per line.
void collectSectionAnchors(RfcText& text, const TextLines& lines);

// The section number at the start of a heading ("3.2.  Title", "Appendix
// B.1.  Title", "A.  Title"), without its trailing "." or ")"; `titleStart`
// is where the title begins. A view into `heading`; empty when the heading
// has no number.
std::string_view headingNumber(std::string_view heading, std::size_t& titleStart);

// The line number of the heading of section `number` ("3.2", "B.1"): the
// located contents entry with that number, else the first anchor with it;
// 0 when there is none. For the view, which looks a target up once.
int32_t sectionHeadingLine(const RfcText& text, const std::string& number);

// The index in `sectionAnchors` of the section that holds line number
// `line`: the last anchor at or before it; -1 before the first.
int32_t sectionAtLine(const RfcText& text, int32_t line);

// The line numbers [first, end) of the references sections: from a heading
// whose title names references to the next heading that does not.
std::vector<std::pair<int32_t, int32_t>> referencesRanges(const RfcText& text);

// The first and last line of the printed contents (1-based), or {0, 0}
// when the text has none.
std::pair<int32_t, int32_t> contentsLineRange(const RfcText& text);

} // namespace parchly

#endif
