// For an RFC without a table of contents: a contents list made from the
// unindented headings found in its text.
#ifndef PARCHLY_ANALYSIS_STRUCTURE_FROM_TEXT_H
#define PARCHLY_ANALYSIS_STRUCTURE_FROM_TEXT_H

#include "analysis/rfc_text.h"

namespace parchly {

// When `contents` is empty, splits each heading's section number from its
// title and moves the headings into `contents`, leaving in `headings` the
// unnumbered paragraphs that stand between numbered headings, appendices
// aside. Sets
// structureFromText when entries were made. Always true.
bool buildStructureFromText(RfcText& text);

} // namespace parchly

#endif
